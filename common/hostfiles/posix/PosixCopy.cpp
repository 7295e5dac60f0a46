#include "PosixCopy.h"

#include "PosixCopyContent.h"

#include "HostErrors.h"
#include "PosixFd.h"
#include "PosixFileOps.h"
#include "PosixInUse.h"
#include "PosixPaths.h"
#include "PosixReadOnly.h"
#include "PosixSnapshot.h"
#include "PosixTemporaryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

namespace marlo::posix {

namespace {

constexpr int SnapshotAttempts = 3;

// The destination after its links are followed: the file that receives the
// copy, and what is there now.
struct Target {
    std::string path;
    bool exists = false;
    struct stat st {};
};

Status checkExisting(const std::string& path, const struct stat& st, const struct stat& source,
                     bool overwrite)
{
    if (S_ISDIR(st.st_mode))
        return failure(EISDIR, FileFailure::DestinationIsFolder);
    if (!S_ISREG(st.st_mode))
        return failure(EINVAL, FileFailure::DestinationNotOrdinary);
    if (st.st_dev == source.st_dev && st.st_ino == source.st_ino)
        return failure(EINVAL, FileFailure::SameFile);
    if (!overwrite)
        return failure(EEXIST, FileFailure::DestinationExists);
    if (readOnly(path, st))
        return failure(EACCES, FileFailure::DestinationReadOnly);
    return {};
}

std::string realPath(const std::string& path)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                           &std::free);
    return real ? std::string(real.get()) : std::string();
}

// FUSE drives that fold case (exFAT, FAT) number a file anew for every
// spelling of its name, so the numbers alone miss a copy onto the source
// under another capitalisation. Such a drive found a name by folding its case
// when the folder lists no entry of exactly that name.
bool sameFileUnderAnotherCase(const std::string& source, const std::string& target)
{
    const std::string from = realPath(source), to = realPath(target);
    if (from.empty() || from == to || !sameNameIgnoringCase(from, to))
        return false;
    const Split fromSplit = splitPath(from), toSplit = splitPath(to);
    UniqueDir folder(::opendir(toSplit.folder.c_str()));
    if (!folder)
        return false;
    bool fromListed = false, toListed = false;
    while (const dirent* entry = ::readdir(folder.get())) {
        fromListed = fromListed || fromSplit.name == entry->d_name;
        toListed = toListed || toSplit.name == entry->d_name;
    }
    return !fromListed || !toListed;
}

Status findTarget(const std::string& destination, Target& target)
{
    target.path = destination;
    struct stat st;
    if (::lstat(destination.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return {};
        return errno == ENOTDIR ? failure(ENOTDIR, FileFailure::DestinationFolderMissing)
                                : failure(errno);
    }
    if (S_ISLNK(st.st_mode)) {
        const std::unique_ptr<char, decltype(&std::free)> real(
            ::realpath(destination.c_str(), nullptr), &std::free);
        if (!real)
            return errno == ENOENT ? failure(ENOENT, FileFailure::DestinationLinkMissing)
                                   : failure(errno);
        target.path = real.get();
    }
    if (::stat(target.path.c_str(), &target.st) != 0)
        return errno == ENOENT ? Status() : failure(errno);
    target.exists = true;
    return {};
}

// Tells each phase's reading as a CopyStep. A source that grows is read to
// its end, so past the size it had, its size is looked at again.
ReadProgress reportAs(const CopyProgress& progress, int in, CopyStep::Phase phase,
                      std::uint64_t total, int attempt)
{
    if (!progress)
        return {};
    return [&progress, in, phase, total, attempt](std::uint64_t done) mutable {
        struct stat now;
        if (done > total)
            total = ::fstat(in, &now) == 0 ? static_cast<std::uint64_t>(now.st_size) : done;
        return progress({phase, done, std::max(total, done), attempt});
    };
}

// A copy of a source that another program may be writing is a copy of one
// moment of it or none: a clone is that by itself; a plain copy is made again
// when the source changed while it was read, and given up after a few tries.
// Every reading can be cancelled; the last report, finishing, is the last
// chance to.
Status copySnapshot(int in, TemporaryFile& temporary, const CopyProgress& progress)
{
    using Phase = CopyStep::Phase;
    for (int attempt = 1;; ++attempt) {
        struct stat now;
        if (::fstat(in, &now) != 0)
            return failure(errno);
        const auto before =
            sourceStateBeforeCopy(in, reportAs(progress, in, Phase::Checking,
                                               static_cast<std::uint64_t>(now.st_size), attempt));
        if (!before)
            return before.status();
        const auto size = static_cast<std::uint64_t>(before.value().st.st_size);
        if (attempt > 1)
            if (Status fresh = temporary.startOver(); !fresh)
                return fresh;
        if (::lseek(in, 0, SEEK_SET) != 0)
            return failure(errno);
        Copied copied;
        if (Status done =
                copyContent(in, temporary.fd(), size,
                            reportAs(progress, in, Phase::Reading, size, attempt), copied);
            !done)
            return done;
        bool whole = copied.cloned;
        if (!whole && copied.bytes == size) {
            const auto unchanged = unchangedSince(
                in, before.value(), reportAs(progress, in, Phase::Checking, size, attempt));
            if (!unchanged)
                return unchanged.status();
            whole = unchanged.value();
        }
        if (whole)
            return !progress || progress({Phase::Finishing, copied.bytes, copied.bytes, attempt})
                       ? Status()
                       : cancelled();
        if (attempt == SnapshotAttempts)
            return failure(EAGAIN, FileFailure::SourceChanged);
    }
}

// The copy written and flushed into its temporary file, waiting to take the
// destination's name.
class PosixStagedCopy : public StagedCopy {
public:
    // `separating`: the copy is to replace a second name of its own source,
    // which is that file and so may be held and the same file.
    PosixStagedCopy(UniqueFd folder, std::string target, std::string name, struct stat source,
                    bool overwrite, bool separating)
        : folder_(std::move(folder)), temporary_(folder_.get()), target_(std::move(target)),
          name_(std::move(name)), source_(source), overwrite_(overwrite), separating_(separating)
    {
    }

    TemporaryFile& temporary() { return temporary_; }

    // Look again just before replacing: the destination may have changed
    // since the copy began.
    Status CheckDestination() override
    {
        struct stat now;
        if (separating_)
            return {};
        if (::stat(target_.c_str(), &now) == 0) {
            if (Status fit = checkExisting(target_, now, source_, overwrite_); !fit)
                return fit;
            // A program that has the old file open would go on writing into
            // it, unseen, after the new one took its name.
            return refuseIfInUse(target_, now);
        }
        return errno == ENOENT ? Status() : failure(errno);
    }

    Status Place() override { return placeAs(overwrite_); }
    Status PlaceNew() override { return placeAs(false); }

    bool Placed() const override { return placed_; }

private:
    Status placeAs(bool replace)
    {
        if (Status fit = CheckDestination(); !fit)
            return fit;
        const Status placed = replace ? temporary_.replace(name_) : temporary_.placeNew(name_);
        if (!placed)
            return placed.error().number == EEXIST ? failure(EEXIST, FileFailure::DestinationExists)
                                                   : placed;
        placed_ = true;
        return syncFolder(folder_.get());
    }

    UniqueFd folder_; // outlives the temporary file made in it
    TemporaryFile temporary_;
    std::string target_, name_;
    struct stat source_;
    bool overwrite_;
    bool separating_;
    bool placed_ = false;
};

using Staged = Result<std::unique_ptr<StagedCopy>>;

// The copy written into a temporary file beside `target`, which it is to
// replace or to take the name of.
Staged stageBeside(int in, const struct stat& from, const std::string& source, const Target& target,
                   const CopyOptions& options, bool separating)
{
    const Split split = splitPath(target.path);
    if (split.name.empty() || split.name == "." || split.name == "..")
        return Staged(failure(EISDIR, FileFailure::DestinationIsFolder));

    UniqueFd folder(::open(split.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return errno == ENOENT || errno == ENOTDIR
                   ? failure(errno, FileFailure::DestinationFolderMissing)
                   : failure(errno);

    auto staged = std::make_unique<PosixStagedCopy>(std::move(folder), target.path, split.name,
                                                    from, options.overwrite, separating);
    TemporaryFile& temporary = staged->temporary();
    const mode_t mode = target.exists ? S_IRUSR | S_IWUSR : (from.st_mode & 0777) | S_IWUSR;
    if (Status created =
            temporary.create(split.name, mode, {from.st_dev, from.st_ino, realPath(source)});
        !created)
        return Staged(created);
    ::posix_fadvise(in, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (Status read = copySnapshot(in, temporary, options.progress); !read)
        return Staged(read);
    if (target.exists)
        if (Status kept = temporary.takeOwnerAndMode(target.st); !kept)
            return Staged(kept);
    // A failed sync is not retried: the kernel may already count the pages as
    // written. The copy is abandoned instead.
    if (::fsync(temporary.fd()) != 0)
        return Staged(failure(errno));
    if (Status closed = temporary.finish(); !closed)
        return Staged(closed);
    return Staged(std::unique_ptr<StagedCopy>(std::move(staged)));
}

} // namespace

Result<std::unique_ptr<StagedCopy>>
stageCopy(const std::string& source, const std::string& destination, const CopyOptions& options)
{
    // Non-blocking, so that a named pipe cannot hold the open; a regular file
    // ignores the flag.
    UniqueFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!in)
        return errno == ENOENT ? failure(ENOENT, FileFailure::SourceMissing) : failure(errno);
    struct stat from;
    if (::fstat(in.get(), &from) != 0)
        return Staged(failure(errno));
    if (S_ISDIR(from.st_mode))
        return Staged(failure(EISDIR, FileFailure::SourceIsFolder));
    if (!S_ISREG(from.st_mode))
        return Staged(failure(EINVAL, FileFailure::SourceNotOrdinary));

    Target target;
    if (Status found = findTarget(destination, target); !found)
        return Staged(found);
    if (target.exists && sameFileUnderAnotherCase(source, target.path))
        return Staged(failure(EINVAL, FileFailure::SameFile));
    if (target.exists) {
        if (Status fit = checkExisting(target.path, target.st, from, options.overwrite); !fit)
            return Staged(fit);
        // Refused before anything is written or cleared beside it; Place()
        // looks again.
        if (Status unused = refuseIfInUse(target.path, target.st); !unused)
            return Staged(unused);
    }
    return stageBeside(in.get(), from, source, target, options, false);
}

Status keepBackup(const std::string& file, const std::string& backup, const CopyProgress& progress)
{
    struct stat st;
    if (::stat(file.c_str(), &st) != 0)
        return errno == ENOENT ? failure(ENOENT, FileFailure::FileMissing) : failure(errno);
    if (!S_ISREG(st.st_mode))
        return failure(EINVAL, FileFailure::NameNotOrdinary);
    const Split to = splitPath(backup);
    UniqueFd folder(::open(to.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return failure(errno);
    // A second link to the file (the one a link points to, not the link
    // itself) refuses a taken name atomically.
    if (::linkat(AT_FDCWD, file.c_str(), folder.get(), to.name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return syncFolder(folder.get());
    if (errno == EEXIST)
        return failure(EEXIST, FileFailure::NewNameTaken);
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK &&
        errno != EXDEV)
        return failure(errno);
    // A drive without links: a copy that takes the name only while it is free.
    return placeStaged(stageCopy(file, backup, {false, progress}));
}

Result<bool> separateBackup(const std::string& file, const std::string& backup)
{
    struct stat live;
    if (::stat(file.c_str(), &live) != 0)
        return errno == ENOENT ? Result<bool>(false) : Result<bool>(failure(errno));
    Target target;
    target.path = backup;
    if (::lstat(backup.c_str(), &target.st) != 0)
        return errno == ENOENT ? Result<bool>(false) : Result<bool>(failure(errno));
    if (!S_ISREG(target.st.st_mode) || target.st.st_dev != live.st_dev ||
        target.st.st_ino != live.st_ino)
        return false;
    target.exists = true;
    UniqueFd in(::open(backup.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!in)
        return Result<bool>(failure(errno));
    // The copy takes the backup's name in one rename: the name holds the
    // shared file or its copy at every instant.
    Staged staged = stageBeside(in.get(), target.st, backup, target, {}, true);
    if (!staged)
        return Result<bool>(staged.status());
    if (Status placed = staged.value()->Place(); !placed)
        return Result<bool>(placed);
    return true;
}

} // namespace marlo::posix
