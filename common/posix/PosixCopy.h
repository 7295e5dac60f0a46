#pragma once

#include "Result.h"

#include <cstdint>
#include <functional>
#include <string>

namespace marlo::posix {

// Told how far a copy has come (bytes of the whole); answering false cancels
// it. Called on the copying thread, first with 0 and last with the total.
using CopyProgress = std::function<bool(std::uint64_t copied, std::uint64_t total)>;

struct CopyOptions {
    bool overwrite = true;
    CopyProgress progress; // optional
};

// Copies the whole of `source` to `destination` (host paths, taken literally)
// so that a failure, a cancel or a kill at any instant leaves the destination
// with its old content or the new, never a torn or empty file. The copy is
// written to a hidden temporary file beside the destination (".<name>.XXXXXX.tmp",
// which no member's name can match), synced, and renamed over it.
//
// A destination that is a link receives the copy in the file it points to,
// and the link stays. A destination that exists keeps its permissions (less
// any set-id bits); a new one gets the source's, writable by its owner (a
// read-only template must not make a read-only database). Fails before
// anything is written on a missing source, a destination that is the source
// itself, a folder, or read-only (for root too), and a destination folder
// that does not exist; fails without replacing it when another program has
// the destination open. Reading a source that another program has open is
// allowed.
Status copyFileCrashSafe(const std::string& source, const std::string& destination,
                         const CopyOptions& options = {});

} // namespace marlo::posix
