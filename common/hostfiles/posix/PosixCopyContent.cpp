#include "PosixCopyContent.h"

#include "HostErrors.h"
#include "PosixFd.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace marlo::posix {

namespace {

constexpr std::size_t BufferSize = 1 << 20;
constexpr std::size_t RangeChunk = 8 << 20;
constexpr std::uint64_t Stretch = 8 << 20;
constexpr std::uint64_t StretchesInFlight = 4;

// Sends each finished stretch of the copy to the disk at once and lets its
// pages go once written. The final sync then finds almost nothing left, the
// disk works while the copy goes on, and the copy holds only a few stretches
// in memory instead of a second whole file.
class Writeback {
public:
    explicit Writeback(int fd) : fd_(fd) {}

    Status advance(std::uint64_t copied)
    {
        for (; enabled_ && copied - started_ >= Stretch; started_ += Stretch)
            if (Status s = check(::sync_file_range(fd_, static_cast<off_t>(started_), Stretch,
                                                   SYNC_FILE_RANGE_WRITE));
                !s)
                return s;
        for (; enabled_ && started_ - released_ > StretchesInFlight * Stretch;
             released_ += Stretch) {
            const auto offset = static_cast<off_t>(released_);
            if (Status s =
                    check(::sync_file_range(fd_, offset, Stretch,
                                            SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                                SYNC_FILE_RANGE_WAIT_AFTER));
                !s)
                return s;
            ::posix_fadvise(fd_, offset, Stretch, POSIX_FADV_DONTNEED);
        }
        return {};
    }

private:
    // A write error seen here may not show again at the final sync, so it
    // fails the copy; a drive that cannot do this just goes without.
    Status check(int result)
    {
        if (result == 0)
            return {};
        if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == ESPIPE) {
            enabled_ = false;
            return {};
        }
        return failure(errno);
    }

    int fd_;
    bool enabled_ = true;
    std::uint64_t started_ = 0, released_ = 0;
};

// Claims the space first where the drive can: the blocks lie together and a
// full disk shows before anything is copied.
Status reserve(int out, std::uint64_t size)
{
    if (size == 0 || ::fallocate(out, 0, 0, static_cast<off_t>(size)) == 0)
        return {};
    if (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)
        return failure(errno);
    return {};
}

Status writeAll(int out, const char* data, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = retryOnInterrupt([&] { return ::write(out, data, length); });
        if (written < 0)
            return failure(errno);
        data += written;
        length -= static_cast<std::size_t>(written);
    }
    return {};
}

bool rangeCopyUnsupported(int error)
{
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP ||
           error == EPERM;
}

} // namespace

Status copyContent(int in, int out, std::uint64_t total, const ReadProgress& progress,
                   Copied& copied)
{
    copied = {};
    const auto goOn = [&] { return !progress || progress(copied.bytes); };
    if (!goOn())
        return cancelled();

    if (::ioctl(out, FICLONE, in) == 0) {
        struct stat st;
        if (::fstat(out, &st) != 0)
            return failure(errno);
        copied = {static_cast<std::uint64_t>(st.st_size), true};
        return goOn() ? Status() : cancelled();
    }
    if (Status reserved = reserve(out, total); !reserved)
        return reserved;
    Writeback writeback(out);
    const auto chunkDone = [&](ssize_t bytes) {
        copied.bytes += static_cast<std::uint64_t>(bytes);
        if (Status written = writeback.advance(copied.bytes); !written)
            return written;
        return goOn() ? Status() : cancelled();
    };

    for (;;) {
        const ssize_t n = retryOnInterrupt(
            [&] { return ::copy_file_range(in, nullptr, out, nullptr, RangeChunk, 0); });
        if (n < 0 && !rangeCopyUnsupported(errno))
            return failure(errno);
        if (n < 0 || (n == 0 && copied.bytes == 0 && total > 0))
            break; // not here: read and write on from where the range copy stopped
        if (n == 0)
            return {};
        if (Status done = chunkDone(n); !done)
            return done;
    }

    const auto buffer = std::make_unique_for_overwrite<char[]>(BufferSize);
    for (;;) {
        const ssize_t n = retryOnInterrupt([&] { return ::read(in, buffer.get(), BufferSize); });
        if (n < 0)
            return failure(errno);
        if (n == 0)
            return {};
        if (Status written = writeAll(out, buffer.get(), static_cast<std::size_t>(n)); !written)
            return written;
        if (Status done = chunkDone(n); !done)
            return done;
    }
}

} // namespace marlo::posix
