#pragma once

#include "PosixFd.h"
#include "Result.h"

namespace marlo::posix {

// The lock that every instance of the tools takes on a folder before it
// tests a name there and then makes or removes it, so that no other instance
// comes in between. It is taken on the folder itself: no lock file is left on
// the user's drive or removed under a holder, and as the folder stays open
// while it is held, FUSE drives keep it in the kernel for every instance.
class FolderLock {
public:
    // Waits for the folder's lock; fails where the drive keeps no locks.
    Status take(int folderFd);

private:
    UniqueFd lock_;
};

} // namespace marlo::posix
