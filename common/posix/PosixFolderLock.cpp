#include "PosixFolderLock.h"

#include "PosixErrors.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

namespace marlo::posix {

Status FolderLock::take(int folderFd)
{
    // An open of its own: a lock belongs to one open folder, so two threads
    // of one process exclude each other as two processes do.
    UniqueFd folder(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return failure(errno);
    if (retryOnInterrupt([&] { return ::flock(folder.get(), LOCK_EX); }) != 0)
        return failure(errno);
    lock_ = std::move(folder);
    return {};
}

} // namespace marlo::posix
