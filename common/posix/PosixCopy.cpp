#include "PosixCopy.h"

#include "PosixCopyContent.h"

#include "PosixErrors.h"
#include "PosixFd.h"
#include "PosixFileOps.h"
#include "PosixInUse.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <random>

namespace marlo::posix {

namespace {

// ".<name>.XXXXXX.tmp" must fit the host's 255 bytes of a name.
constexpr std::size_t MaxNameInTemporary = 255 - 12;

std::string randomLetters(std::size_t count)
{
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    std::string text(count, ' ');
    for (char& c : text)
        c = letters[pick(generator)];
    return text;
}

// The hidden file the copy is written to; it goes again unless kept.
class TemporaryFile {
public:
    explicit TemporaryFile(int folder) : folder_(folder) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        file_.reset();
        if (!name_.empty())
            ::unlinkat(folder_, name_.c_str(), 0);
    }

    Status create(const std::string& forName, mode_t mode)
    {
        std::string base(1, '.');
        base.append(forName, 0, MaxNameInTemporary);
        base += '.';
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = base + randomLetters(6) + ".tmp";
            file_ = UniqueFd(
                ::openat(folder_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
            if (file_) {
                name_ = std::move(name);
                return {};
            }
            if (errno != EEXIST)
                return failure(errno);
        }
        return failure(EEXIST, "no temporary file could be made beside the destination");
    }

    int fd() const { return file_.get(); }
    const std::string& name() const { return name_; }
    int close() { return file_.close(); }
    void keep() { name_.clear(); }

private:
    int folder_;
    std::string name_;
    UniqueFd file_;
};

// The destination after its links are followed: the file that receives the
// copy, and what is there now.
struct Target {
    std::string path;
    bool exists = false;
    struct stat st {};
};

Status checkExisting(const struct stat& st, const struct stat& source, bool overwrite)
{
    if (S_ISDIR(st.st_mode))
        return failure(EISDIR, "the destination is a folder");
    if (!S_ISREG(st.st_mode))
        return failure(EINVAL, "the destination is not an ordinary file");
    if (st.st_dev == source.st_dev && st.st_ino == source.st_ino)
        return failure(EINVAL, "the source and the destination are the same file");
    if (!overwrite)
        return failure(EEXIST, "the destination already exists");
    if ((st.st_mode & S_IWUSR) == 0)
        return failure(EACCES, "the destination file is read-only");
    return {};
}

Status findTarget(const std::string& destination, Target& target)
{
    target.path = destination;
    struct stat st;
    if (::lstat(destination.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return {};
        return errno == ENOTDIR ? failure(ENOTDIR, "the destination folder does not exist")
                                : failure(errno);
    }
    if (S_ISLNK(st.st_mode)) {
        const std::unique_ptr<char, decltype(&std::free)> real(
            ::realpath(destination.c_str(), nullptr), &std::free);
        if (!real)
            return errno == ENOENT ? failure(ENOENT, "the destination is a link to a missing file")
                                   : failure(errno);
        target.path = real.get();
    }
    if (::stat(target.path.c_str(), &target.st) != 0)
        return errno == ENOENT ? Status() : failure(errno);
    target.exists = true;
    return {};
}

Status renameOver(int folder, const std::string& from, const std::string& to)
{
    if (::renameat(folder, from.c_str(), folder, to.c_str()) == 0)
        return {};
    return failure(errno);
}

} // namespace

Status copyFileCrashSafe(const std::string& source, const std::string& destination,
                         const CopyOptions& options)
{
    // Non-blocking, so that a named pipe cannot hold the open; a regular file
    // ignores the flag.
    UniqueFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!in)
        return errno == ENOENT ? failure(ENOENT, "the source file does not exist") : failure(errno);
    struct stat from;
    if (::fstat(in.get(), &from) != 0)
        return failure(errno);
    if (S_ISDIR(from.st_mode))
        return failure(EISDIR, "the source is a folder");
    if (!S_ISREG(from.st_mode))
        return failure(EINVAL, "the source is not an ordinary file");

    Target target;
    if (Status found = findTarget(destination, target); !found)
        return found;
    if (target.exists)
        if (Status fit = checkExisting(target.st, from, options.overwrite); !fit)
            return fit;
    const Split split = splitPath(target.path);
    if (split.name.empty() || split.name == "." || split.name == "..")
        return failure(EISDIR, "the destination is a folder");

    UniqueFd folder(::open(split.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return errno == ENOENT || errno == ENOTDIR
                   ? failure(errno, "the destination folder does not exist")
                   : failure(errno);

    TemporaryFile temporary(folder.get());
    const mode_t mode = target.exists ? S_IRUSR | S_IWUSR : (from.st_mode & 0777) | S_IWUSR;
    if (Status created = temporary.create(split.name, mode); !created)
        return created;
    ::posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    const auto size = static_cast<std::uint64_t>(from.st_size);
    std::uint64_t copied = 0;
    if (Status done = copyContent(in.get(), temporary.fd(), size, options.progress, copied); !done)
        return done;
    if (copied != size)
        return failure(EIO, "the source file changed while it was being copied");
    if (target.exists) {
        // Root replacing another user's file gives it back to that user.
        if ((target.st.st_uid != ::geteuid() || target.st.st_gid != ::getegid()) &&
            ::fchown(temporary.fd(), target.st.st_uid, target.st.st_gid) != 0) {
            // not allowed: the new file stays ours, as any editor's would
        }
        // Without set-id bits: those were granted to the old content.
        if (::fchmod(temporary.fd(), target.st.st_mode & 0777) != 0)
            return failure(errno);
    }
    // A failed sync is not retried: the kernel may already count the pages as
    // written. The copy is abandoned instead.
    if (::fsync(temporary.fd()) != 0)
        return failure(errno);
    if (const int error = temporary.close(); error != 0)
        return failure(error);

    // Look again just before replacing: the destination may have changed
    // during the copy.
    struct stat now;
    if (::stat(target.path.c_str(), &now) == 0) {
        if (Status fit = checkExisting(now, from, options.overwrite); !fit)
            return fit;
        // A program that has the old file open would go on writing into it,
        // unseen, after the new one took its name.
        if (Status unused = refuseIfInUse(now); !unused)
            return unused;
    } else if (errno != ENOENT) {
        return failure(errno);
    }

    const Status renamed =
        options.overwrite
            ? renameOver(folder.get(), temporary.name(), split.name)
            : renameNoReplace(folder.get(), temporary.name(), folder.get(), split.name);
    if (!renamed)
        return renamed;
    temporary.keep();
    syncFolder(folder.get());
    return {};
}

} // namespace marlo::posix
