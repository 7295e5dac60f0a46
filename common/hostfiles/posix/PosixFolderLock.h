#pragma once

#include "FileSystem.h"
#include "PosixFd.h"
#include "Result.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

namespace marlo::posix {

// The lock that every instance of the tools takes on a folder before it
// tests a name there and then makes or removes it, so that no other instance
// comes in between. It is taken on the folder itself: no lock file is left on
// the user's drive or removed under a holder, and as the folder stays open
// while it is held, FUSE drives keep it in the kernel for every instance.
// Inside a command's hold of the folder (holdFolder) the hold keeps the other
// instances out, and the lock only orders this process's own threads.
class FolderLock {
public:
    // Long enough for any instance's own work under the lock; a holder that
    // keeps it longer is stopped or stuck, and the window must not freeze
    // behind it.
    static constexpr std::chrono::milliseconds Patience{5000};

    explicit FolderLock(std::chrono::milliseconds patience = Patience) : patience_(patience) {}

    // Takes the folder's lock, waiting at most the patience for another
    // instance to let it go. Fails where the drive keeps no locks, and with
    // words for the user when the wait ran out (see heldByAnother).
    Status take(int folderFd);

    // Whether a failed take() found the lock held by another instance, as
    // opposed to a drive that keeps no locks.
    static bool heldByAnother(const Status& taken);

private:
    std::chrono::milliseconds patience_;
    UniqueFd lock_;
    std::unique_lock<std::timed_mutex> ownThreads_;
};

// FileSystem::HoldFolder on a host path: the same lock on the folder, kept
// for a whole command and never waited for.
Result<std::unique_ptr<FolderHold>> holdFolder(const std::string& folder);

} // namespace marlo::posix
