#include "PosixFolderLock.h"

#include "HostErrors.h"
#include "PosixCaseFolding.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <thread>
#include <utility>

namespace marlo::posix {

namespace {

using FolderId = std::pair<dev_t, ino_t>;

// The folders this process holds for a command, and the lock that orders its
// own threads' work in them: a second open of a held folder could not take
// the lock that the hold keeps.
std::mutex heldMutex;
std::set<FolderId> heldFolders;
std::timed_mutex ownThreadsMutex;

bool heldHere(int folderFd)
{
    struct stat st;
    if (::fstat(folderFd, &st) != 0)
        return false;
    const std::lock_guard lock(heldMutex);
    return heldFolders.count({st.st_dev, st.st_ino}) != 0;
}

// Tries the lock once; an interrupted call is made again.
int tryLock(int fd)
{
    return retryOnInterrupt([&] { return ::flock(fd, LOCK_EX | LOCK_NB); });
}

class PosixFolderHold : public FolderHold {
public:
    PosixFolderHold(UniqueFd folder, std::optional<FolderId> id)
        : folder_(std::move(folder)), id_(id)
    {
        if (id_) {
            const std::lock_guard lock(heldMutex);
            heldFolders.insert(*id_);
        }
    }
    ~PosixFolderHold() override
    {
        if (id_) {
            const std::lock_guard lock(heldMutex);
            heldFolders.erase(*id_);
        }
    }
    bool excludes() const override { return id_.has_value(); }

private:
    UniqueFd folder_; // closing it lets go of the lock
    std::optional<FolderId> id_;
};

} // namespace

Status FolderLock::take(int folderFd)
{
    // An open of its own: a lock belongs to one open folder, so two threads
    // of one process exclude each other as two processes do. It goes through
    // the spelling the drive lists, on which every instance locks.
    UniqueFd folder = openAsListed(folderFd);
    if (!folder)
        return failure(errno);
    if (heldHere(folder.get())) {
        ownThreads_ = std::unique_lock(ownThreadsMutex, patience_);
        if (!ownThreads_)
            return failure(EWOULDBLOCK, FileFailure::FolderLocked);
        return {};
    }
    const auto deadline = std::chrono::steady_clock::now() + patience_;
    auto pause = std::chrono::milliseconds(1);
    while (tryLock(folder.get()) != 0) {
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

Result<std::unique_ptr<FolderHold>> holdFolder(const std::string& path)
{
    using Hold = Result<std::unique_ptr<FolderHold>>;
    UniqueFd opened(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!opened)
        return Hold(failure(errno == ENOENT ? ENOENT : errno));
    UniqueFd folder = openAsListed(opened.get());
    if (!folder)
        return Hold(failure(errno));
    struct stat st;
    if (::fstat(folder.get(), &st) != 0)
        return Hold(failure(errno));
    // Held by this process already (a second window of one program, say) is
    // held by another command all the same.
    if (heldHere(folder.get()))
        return Hold(failure(EWOULDBLOCK, FileFailure::FolderHeld));
    if (tryLock(folder.get()) != 0) {
        if (errno == EWOULDBLOCK)
            return Hold(failure(EWOULDBLOCK, FileFailure::FolderHeld));
        // A drive that keeps no locks: the command goes on unheld.
        return Hold(std::unique_ptr<FolderHold>(
            std::make_unique<PosixFolderHold>(std::move(folder), std::nullopt)));
    }
    return Hold(std::unique_ptr<FolderHold>(
        std::make_unique<PosixFolderHold>(std::move(folder), FolderId{st.st_dev, st.st_ino})));
}

} // namespace marlo::posix
