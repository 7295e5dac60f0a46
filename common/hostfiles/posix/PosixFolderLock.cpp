#include "PosixFolderLock.h"

#include "HostErrors.h"
#include "PosixCaseFolding.h"

#include <fcntl.h>
#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace marlo::posix {

Status FolderLock::take(int folderFd)
{
    // An open of its own: a lock belongs to one open folder, so two threads
    // of one process exclude each other as two processes do. It goes through
    // the spelling the drive lists, on which every instance locks.
    UniqueFd folder = openAsListed(folderFd);
    if (!folder)
        return failure(errno);
    const auto deadline = std::chrono::steady_clock::now() + patience_;
    auto pause = std::chrono::milliseconds(1);
    while (retryOnInterrupt([&] { return ::flock(folder.get(), LOCK_EX | LOCK_NB); }) != 0) {
        if (errno != EWOULDBLOCK)
            return failure(errno);
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return failure(EWOULDBLOCK, FileFailure::FolderLocked);
        // Short at first: other instances hold the lock for moments only.
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    lock_ = std::move(folder);
    return {};
}

bool FolderLock::heldByAnother(const Status& taken)
{
    return !taken && taken.error().number == EWOULDBLOCK;
}

} // namespace marlo::posix
