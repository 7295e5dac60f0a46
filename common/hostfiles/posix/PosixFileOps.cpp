#include "PosixFileOps.h"

#include "HostErrors.h"
#include "PosixFd.h"
#include "PosixFolderLock.h"
#include "PosixInUse.h"
#include "PosixPaths.h"
#include "PosixReadOnly.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace marlo::posix {

namespace {

Status missingFile()
{
    return failure(ENOENT, FileFailure::FileMissing);
}

Status openFolder(const std::string& folder, UniqueFd& fd,
                  FileFailure missing = FileFailure::FolderMissing)
{
    fd = UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd)
        return {};
    if (errno == ENOENT || errno == ENOTDIR)
        return failure(errno, missing);
    return failure(errno);
}

} // namespace

Split splitPath(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {folderOf(path), path.substr(slash + 1)};
}

Status syncFolder(int folderFd)
{
    if (retryOnInterrupt([&] { return ::fsync(folderFd); }) == 0)
        return {};
    // EINVAL: the drive has no flush for folders. EROFS counts: ext4 answers
    // so once it has shut itself down after an error, when the change may be
    // lost; a drive mounted read-only answers 0.
    if (errno == EINVAL || errno == EOPNOTSUPP)
        return {};
    const OpError failed =
        failure(errno, FileFailure::FolderNotFlushed, describeError(errno)).error();
    return Status::unflushed(failed.number, failed.description);
}

Result<bool> regularFileExists(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
        return S_ISREG(st.st_mode) != 0;
    if (meansNoSuchName(errno))
        return false;
    return Result<bool>(failure(errno));
}

namespace {

// A drive with neither a no-replace rename nor links (FAT, exFAT): the name
// is tested free and the rename made under the folder's lock, which every
// instance of the tools takes before it makes a name there. Against the tools
// this never replaces; only another program that makes the very name in
// between could lose it.
Status renameIfFreeUnderLock(int fromFolder, const std::string& from, int toFolder,
                             const std::string& to)
{
    FolderLock lock;
    if (Status locked = lock.take(toFolder); !locked) {
        if (FolderLock::heldByAnother(locked))
            return locked;
        return failure(EOPNOTSUPP, FileFailure::NoSafeRename);
    }
    struct stat st;
    if (::fstatat(toFolder, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return failure(EEXIST);
    if (errno != ENOENT)
        return failure(errno);
    if (::renameat(fromFolder, from.c_str(), toFolder, to.c_str()) != 0)
        return failure(errno);
    return {};
}

} // namespace

Status renameNoReplace(int fromFolder, const std::string& from, int toFolder, const std::string& to)
{
    if (::renameat2(fromFolder, from.c_str(), toFolder, to.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    int error = errno;
    if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP)
        return failure(error);

    // A drive without the no-replace rename: a new link refuses atomically.
    if (::linkat(fromFolder, from.c_str(), toFolder, to.c_str(), 0) != 0) {
        error = errno;
        if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS)
            return renameIfFreeUnderLock(fromFolder, from, toFolder, to);
        return failure(error);
    }
    if (::unlinkat(fromFolder, from.c_str(), 0) != 0) {
        error = errno;
        ::unlinkat(toFolder, to.c_str(), 0); // leave both names as they were
        return failure(error);
    }
    return {};
}

Status moveNoReplace(const std::string& source, const std::string& destination)
{
    struct stat st;
    if (::lstat(source.c_str(), &st) != 0)
        return errno == ENOENT ? missingFile() : failure(errno);
    if (S_ISDIR(st.st_mode))
        return failure(EISDIR, FileFailure::NameIsFolder);
    // A program that has the file open would go on writing under the new name.
    if (S_ISREG(st.st_mode))
        if (Status unused = refuseIfInUse(source, st); !unused)
            return unused;

    const Split from = splitPath(source);
    const Split to = splitPath(destination);
    UniqueFd fromFolder, toFolder;
    if (Status opened = openFolder(from.folder, fromFolder); !opened)
        return opened;
    if (Status opened = openFolder(to.folder, toFolder, FileFailure::DestinationFolderMissing);
        !opened)
        return opened;
    if (Status renamed = renameNoReplace(fromFolder.get(), from.name, toFolder.get(), to.name);
        !renamed) {
        if (renamed.error().number == EEXIST)
            return failure(EEXIST, FileFailure::NewNameTaken);
        return renamed;
    }
    if (Status flushed = syncFolder(toFolder.get()); !flushed)
        return flushed;
    if (from.folder != to.folder)
        return syncFolder(fromFolder.get());
    return {};
}

Status setAside(const std::string& source, const std::string& destination)
{
    struct stat st;
    if (::stat(source.c_str(), &st) == 0 && S_ISREG(st.st_mode) && readOnly(source, st))
        return failure(EACCES, FileFailure::FileReadOnly);
    return moveNoReplace(source, destination);
}

Status removeName(const std::string& path)
{
    const Split split = splitPath(path);
    UniqueFd folder;
    if (Status opened = openFolder(split.folder, folder); !opened)
        return opened;
    if (::unlinkat(folder.get(), split.name.c_str(), 0) != 0)
        return errno == ENOENT ? missingFile() : failure(errno);
    return syncFolder(folder.get());
}

Status deleteFile(const std::string& path, bool force)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT ? missingFile() : failure(errno);
    // A link goes, not what it points to; its target's permission rules it.
    const bool link = S_ISLNK(st.st_mode);
    if (link && ::stat(path.c_str(), &st) != 0)
        return missingFile();
    if (S_ISDIR(st.st_mode))
        return failure(EISDIR, FileFailure::NameIsFolder);
    if (!S_ISREG(st.st_mode))
        return failure(EINVAL, FileFailure::NameNotOrdinary);
    if (!force && readOnly(path, st))
        return failure(EACCES, FileFailure::FileReadOnly);
    // Removing a link takes nothing from whoever has its target open.
    if (!link)
        if (Status unused = refuseIfInUse(path, st); !unused)
            return unused;

    const Split split = splitPath(path);
    UniqueFd folder;
    if (Status opened = openFolder(split.folder, folder); !opened)
        return opened;
    if (::unlinkat(folder.get(), split.name.c_str(), 0) != 0)
        return failure(errno);
    return syncFolder(folder.get());
}

} // namespace marlo::posix
