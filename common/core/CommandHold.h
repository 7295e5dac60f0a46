#pragma once

#include "FileSystem.h"
#include "Result.h"

#include <memory>
#include <string>
#include <vector>

namespace marlo {

// The application folder held for one command that changes files there,
// from the user's last answer to the command's last flush: another command
// meanwhile is refused before it changes anything. Taking it first mends
// what a stopped command may have left in the folder:
//  - a backup ".bak" that is a second name of its live database (a kill
//    between the backup name and the new content's placing) becomes a file
//    of its own, so that the main program's writes no longer change it;
//  - an oldest generation left set aside goes back to its name where that
//    is free, and where it is taken (the stopped command had moved the next
//    one up) it is dropped, as that command was to do. Only under a hold
//    that excludes is it known to be a stopped command's.
class CommandHold {
public:
    // Refused, having changed nothing, when another command holds the folder
    // or a backup cannot be made a file of its own.
    static Result<CommandHold> take(FileSystem& files, const std::string& folder);

    // Whether the hold keeps other commands out (not on a drive without locks).
    bool excludes() const { return hold_->excludes(); }
    // What taking it did that the user must know, in the user's words.
    const std::vector<std::string>& mended() const { return mended_; }

private:
    explicit CommandHold(std::unique_ptr<FolderHold> hold) : hold_(std::move(hold)) {}

    std::unique_ptr<FolderHold> hold_;
    std::vector<std::string> mended_;
};

} // namespace marlo
