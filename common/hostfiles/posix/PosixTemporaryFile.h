#pragma once

#include "PosixCaseFolding.h"
#include "PosixFd.h"
#include "PosixTemporaryNames.h"
#include "Result.h"

#include <sys/stat.h>

#include <optional>
#include <string>

namespace marlo::posix {

// The file a copy is written to before it takes the destination's name. Where
// the drive offers unnamed files it has no name until it is complete, so a
// killed copy leaves nothing; elsewhere it is a hidden file of the tools'
// pattern. Either is locked for the copy's whole life, which tells the next
// copy into the folder that a hidden file no one holds was left by a killed
// copy and may go. Unless it took the destination's name, it goes when this
// object goes.
class TemporaryFile {
public:
    explicit TemporaryFile(int folder)
        : listed_(openAsListed(folder)), folder_(listed_ ? listed_.get() : folder)
    {
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    // Removes what killed copies left for `forName` (never `spared`), then
    // makes the file for it.
    Status create(const std::string& forName, mode_t mode, const Spared& spared);
    // Drops what was written and makes a fresh file for the same name: a
    // drive may keep a file's old length when it is truncated in place.
    Status startOver();
    int fd() const { return file_.get(); }
    // The owner and the permissions of the file it will replace, less any
    // set-id bits. What the drive cannot keep is let go: the content and its
    // crash-safety come first.
    Status takeOwnerAndMode(const struct stat& of);
    // Closes the written file; fails as its close() fails. It stays locked.
    Status finish();

    // The finished file takes the destination's name: replacing what is
    // there, or only while the name is free.
    Status replace(const std::string& destination);
    Status placeNew(const std::string& destination);

private:
    Status make();
    void drop();
    Status createNamed(mode_t mode);
    Status linkUnnamed(const std::string& name);
    Status nameUnnamed();
    Status copyToNamed();
    Status applyOwnerAndMode();

    // The folder as its drive lists it, so that the lock of a named file is
    // seen by every instance of the tools whatever spelling each was given.
    UniqueFd listed_;
    int folder_;
    std::string forName_;
    mode_t mode_ = 0;
    bool unnamed_ = false;
    std::optional<struct stat> ownerAndMode_;
    std::string name_; // empty while the file has none or once it is kept
    UniqueFd file_;    // written through
    UniqueFd lock_;    // the same open file, held to the end
};

} // namespace marlo::posix
