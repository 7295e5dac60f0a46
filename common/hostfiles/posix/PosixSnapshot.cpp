#include "PosixSnapshot.h"

#include "ContentDigest.h"

#include "HostErrors.h"
#include "PosixFd.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <memory>
#include <thread>

namespace marlo::posix {

namespace {

constexpr long Second = 1'000'000'000;
// Long enough for the coarse clock to pass a fresh stamp by a step of 10 ms
// (exFAT's) at 100 ticks a second; a source stamped later than that all the
// while is being written, or the clock was set back.
constexpr auto MaxWait = std::chrono::milliseconds(50);
constexpr std::size_t Chunk = 1 << 20;

std::int64_t nanoseconds(const timespec& t)
{
    return std::int64_t{t.tv_sec} * Second + t.tv_nsec;
}

// The step of the drive's stamps as far as these show it: the largest power
// of ten, up to a second, that both nanosecond parts are multiples of. A fine
// stamp passes for a coarser one only by chance, and then is merely waited
// for a little longer.
long stampStep(const struct stat& st)
{
    long step = 1;
    while (step < Second && st.st_mtim.tv_nsec % (step * 10) == 0 &&
           st.st_ctim.tv_nsec % (step * 10) == 0)
        step *= 10;
    return step;
}

bool sameStamps(const struct stat& a, const struct stat& b)
{
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ctim.tv_sec == b.st_ctim.tv_sec &&
           a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

Result<std::uint64_t> digestOf(int fd, const ReadProgress& progress)
{
    const auto buffer = std::make_unique_for_overwrite<char[]>(Chunk);
    ContentDigest digest;
    for (off_t offset = 0;;) {
        if (progress && !progress(static_cast<std::uint64_t>(offset)))
            return Result<std::uint64_t>(cancelled());
        const ssize_t n =
            retryOnInterrupt([&] { return ::pread(fd, buffer.get(), Chunk, offset); });
        if (n < 0)
            return Result<std::uint64_t>(failure(errno));
        if (n == 0)
            return digest.value();
        digest.add({buffer.get(), static_cast<std::size_t>(n)});
        offset += n;
    }
}

} // namespace

Result<SourceState> sourceStateBeforeCopy(int source, const ReadProgress& progress)
{
    const auto deadline = std::chrono::steady_clock::now() + MaxWait;
    for (;;) {
        // The clock first: a write after the look below is stamped no
        // earlier than this.
        timespec coarse;
        ::clock_gettime(CLOCK_REALTIME_COARSE, &coarse);
        SourceState state;
        if (::fstat(source, &state.st) != 0)
            return Result<SourceState>(failure(errno));
        const long step = stampStep(state.st);
        const std::int64_t latest =
            std::max(nanoseconds(state.st.st_mtim), nanoseconds(state.st.st_ctim));
        if (step < Second && latest + step <= nanoseconds(coarse))
            return state;
        if (step >= Second || std::chrono::steady_clock::now() >= deadline) {
            const auto digest = digestOf(source, progress);
            if (!digest)
                return Result<SourceState>(digest.status());
            state.digest = digest.value();
            return state;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

Result<bool> unchangedSince(int source, const SourceState& before, const ReadProgress& progress)
{
    struct stat now;
    if (::fstat(source, &now) != 0)
        return Result<bool>(failure(errno));
    if (!sameStamps(before.st, now))
        return false;
    if (!before.digest)
        return true;
    const auto digest = digestOf(source, progress);
    if (!digest)
        return Result<bool>(digest.status());
    return digest.value() == *before.digest;
}

} // namespace marlo::posix
