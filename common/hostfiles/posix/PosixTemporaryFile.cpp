#include "PosixTemporaryFile.h"

#include "HostErrors.h"
#include "PosixCopyContent.h"
#include "PosixFileOps.h"
#include "PosixFolderLock.h"
#include "PosixTemporaryNames.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace marlo::posix {

namespace {

constexpr int NameAttempts = 100;

bool noUnnamedFiles(int error)
{
    // EISDIR and ENOENT: a kernel that predates unnamed files.
    return error == EOPNOTSUPP || error == EISDIR || error == ENOENT || error == EINVAL;
}

// Metadata the drive cannot hold (FAT, exFAT, NTFS without permissions).
bool cannotKeep(int error)
{
    return error == ENOSYS || error == EPERM || error == EOPNOTSUPP;
}

} // namespace

TemporaryFile::~TemporaryFile()
{
    drop();
}

// Unnamed while still locked, so that no other copy takes it for abandoned.
void TemporaryFile::drop()
{
    file_.reset();
    if (!name_.empty())
        ::unlinkat(folder_, name_.c_str(), 0);
    name_.clear();
    lock_.reset();
    unnamed_ = false;
    ownerAndMode_.reset();
}

Status TemporaryFile::create(const std::string& forName, mode_t mode, const Spared& spared)
{
    forName_ = forName;
    mode_ = mode;
    {
        // Where the drive keeps no locks nothing is known to be abandoned.
        // Another instance at work in the folder is left the clearing.
        FolderLock lock(std::chrono::milliseconds(0));
        if (lock.take(folder_))
            removeAbandonedTemporaries(folder_, forName_, spared);
    }
    return make();
}

Status TemporaryFile::startOver()
{
    drop();
    return make();
}

Status TemporaryFile::make()
{
    UniqueFd unnamed(::openat(folder_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode_));
    if (!unnamed) {
        if (noUnnamedFiles(errno))
            return createNamed(mode_);
        return failure(errno);
    }
    // Locked before it can have a name, so no other copy ever takes it for
    // abandoned.
    ::flock(unnamed.get(), LOCK_EX | LOCK_NB);
    lock_ = UniqueFd(::fcntl(unnamed.get(), F_DUPFD_CLOEXEC, 0));
    if (!lock_)
        return failure(errno);
    file_ = std::move(unnamed);
    unnamed_ = true;
    return {};
}

Status TemporaryFile::createNamed(mode_t mode)
{
    // Made and locked under the folder's lock, so that a copy clearing the
    // folder never finds it made but not yet locked.
    // Where the drive keeps no locks it is made without.
    FolderLock lock;
    if (Status locked = lock.take(folder_); FolderLock::heldByAnother(locked))
        return locked;
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        std::string name = temporaryNameFor(forName_);
        UniqueFd file(
            ::openat(folder_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (!file) {
            if (errno == EEXIST)
                continue;
            return failure(errno);
        }
        name_ = std::move(name);
        ::flock(file.get(), LOCK_EX | LOCK_NB);
        lock_ = UniqueFd(::fcntl(file.get(), F_DUPFD_CLOEXEC, 0));
        if (!lock_)
            return failure(errno);
        file_ = std::move(file);
        unnamed_ = false;
        return {};
    }
    return failure(EEXIST, FileFailure::NoTemporaryFile);
}

Status TemporaryFile::takeOwnerAndMode(const struct stat& of)
{
    ownerAndMode_ = of;
    return applyOwnerAndMode();
}

Status TemporaryFile::applyOwnerAndMode()
{
    if (!ownerAndMode_)
        return {};
    const struct stat& of = *ownerAndMode_;
    // Root replacing another user's file gives it back to that user; where
    // that is not allowed the new file stays ours, as any editor's would.
    if (of.st_uid != ::geteuid() || of.st_gid != ::getegid())
        (void)::fchown(file_.get(), of.st_uid, of.st_gid);
    if (::fchmod(file_.get(), of.st_mode & 0777) != 0 && !cannotKeep(errno))
        return failure(errno);
    return {};
}

Status TemporaryFile::finish()
{
    if (const int error = file_.close(); error != 0)
        return failure(error);
    return {};
}

Status TemporaryFile::linkUnnamed(const std::string& name)
{
    if (::linkat(lock_.get(), "", folder_, name.c_str(), AT_EMPTY_PATH) == 0)
        return {};
    if (errno == EEXIST)
        return failure(EEXIST);
    // Without the privilege to link by descriptor, the link in /proc serves.
    const std::string self = "/proc/self/fd/" + std::to_string(lock_.get());
    if (::linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return {};
    return failure(errno);
}

Status TemporaryFile::nameUnnamed()
{
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        std::string name = temporaryNameFor(forName_);
        const Status linked = linkUnnamed(name);
        if (linked) {
            name_ = std::move(name);
            unnamed_ = false;
            // Flushed again now that it has a name: on btrfs the flush made
            // while it had none did not keep its content, and a power cut
            // after the rename left the destination empty.
            if (::fsync(lock_.get()) != 0)
                return failure(errno);
            return {};
        }
        if (linked.error().number != EEXIST)
            return copyToNamed();
    }
    return failure(EEXIST, FileFailure::NoTemporaryFile);
}

// A drive that makes unnamed files but cannot name them: the finished copy is
// copied once more, beside it, into a named temporary file.
Status TemporaryFile::copyToNamed()
{
    UniqueFd unnamed = std::move(lock_);
    struct stat st;
    if (::fstat(unnamed.get(), &st) != 0)
        return failure(errno);
    if (Status created = createNamed(st.st_mode & 0777); !created)
        return created;
    if (::lseek(unnamed.get(), 0, SEEK_SET) != 0)
        return failure(errno);
    const auto size = static_cast<std::uint64_t>(st.st_size);
    Copied copied;
    if (Status done = copyContent(unnamed.get(), file_.get(), size, {}, copied); !done)
        return done;
    if (copied.bytes != size)
        return failure(EIO);
    if (Status kept = applyOwnerAndMode(); !kept)
        return kept;
    if (::fsync(file_.get()) != 0)
        return failure(errno);
    return finish();
}

Status TemporaryFile::replace(const std::string& destination)
{
    if (unnamed_)
        if (Status named = nameUnnamed(); !named)
            return named;
    if (::renameat(folder_, name_.c_str(), folder_, destination.c_str()) != 0)
        return failure(errno);
    name_.clear();
    return {};
}

Status TemporaryFile::placeNew(const std::string& destination)
{
    // Named first and flushed under that name, as for a replace, then
    // renamed only while the destination is free.
    if (unnamed_)
        if (Status named = nameUnnamed(); !named)
            return named;
    if (Status renamed = renameNoReplace(folder_, name_, folder_, destination); !renamed)
        return renamed;
    name_.clear();
    return {};
}

} // namespace marlo::posix
