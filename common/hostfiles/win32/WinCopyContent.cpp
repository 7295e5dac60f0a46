#include "WinCopyContent.h"

#include "ContentDigest.h"

#include "WinErrors.h"
#include "WinFileInfo.h"
#include "WinInUse.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace marlo::win32 {

namespace {

constexpr DWORD BufferSize = 1 << 20;
constexpr int Attempts = 3;

// Tells each phase's reading as a CopyStep. A file that grows is read to its
// end, so past the size it had, its size is looked at again.
class PhaseReport {
public:
    PhaseReport(const CopyProgress& progress, HANDLE in, CopyStep::Phase phase, std::uint64_t total,
                int attempt)
        : progress_(progress), in_(in), step_{phase, 0, total, attempt}
    {
    }

    bool operator()(std::uint64_t done)
    {
        if (!progress_)
            return true;
        LARGE_INTEGER size{};
        if (done > step_.total)
            step_.total =
                ::GetFileSizeEx(in_, &size) ? static_cast<std::uint64_t>(size.QuadPart) : done;
        step_.done = done;
        step_.total = std::max(step_.total, done);
        return progress_(step_);
    }

private:
    const CopyProgress& progress_;
    HANDLE in_;
    CopyStep step_;
};

Status copyContent(HANDLE in, HANDLE out, PhaseReport& report, std::uint64_t& copied)
{
    if (!report(0))
        return cancelled();
    std::vector<char> buffer(BufferSize);
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(in, buffer.data(), BufferSize, &got, nullptr))
            return lastFailure();
        if (got == 0)
            return {};
        for (DWORD written = 0; written < got;) {
            DWORD now = 0;
            if (!::WriteFile(out, buffer.data() + written, got - written, &now, nullptr))
                return lastFailure();
            written += now;
        }
        copied += got;
        // A file that grows is read to its end, and copied again after.
        if (!report(copied))
            return cancelled();
    }
}

// Both files back at their start, and nothing in `out`.
Status rewind(HANDLE in, HANDLE out)
{
    const LARGE_INTEGER start{};
    if (!::SetFilePointerEx(in, start, nullptr, FILE_BEGIN) ||
        !::SetFilePointerEx(out, start, nullptr, FILE_BEGIN) || !::SetEndOfFile(out))
        return lastFailure();
    return {};
}

// The digest of the whole content, read from the start; the file is left at
// its start again.
Result<std::uint64_t> digestOf(HANDLE in, PhaseReport& report)
{
    const LARGE_INTEGER start{};
    if (!::SetFilePointerEx(in, start, nullptr, FILE_BEGIN))
        return Result<std::uint64_t>(lastFailure());
    std::vector<char> buffer(BufferSize);
    ContentDigest digest;
    for (std::uint64_t done = 0;;) {
        if (!report(done))
            return Result<std::uint64_t>(cancelled());
        DWORD got = 0;
        if (!::ReadFile(in, buffer.data(), BufferSize, &got, nullptr))
            return Result<std::uint64_t>(lastFailure());
        if (got == 0)
            break;
        digest.add({buffer.data(), got});
        done += got;
    }
    if (!::SetFilePointerEx(in, start, nullptr, FILE_BEGIN))
        return Result<std::uint64_t>(lastFailure());
    return digest.value();
}

// The file's size and stamps, and its digest where writers share it.
struct Look {
    FileStamp stamp;
    std::optional<std::uint64_t> digest;
    bool operator==(const Look&) const = default;
};

Result<Look> lookAt(const CopySource& in, const CopyProgress& progress, int attempt)
{
    const auto stamp = stampOf(in.handle.get());
    if (!stamp)
        return Result<Look>(stamp.status());
    Look look{stamp.value(), std::nullopt};
    if (!in.writersShutOut) {
        PhaseReport report(progress, in.handle.get(), CopyStep::Phase::Checking,
                           static_cast<std::uint64_t>(stamp.value().size), attempt);
        const auto digest = digestOf(in.handle.get(), report);
        if (!digest)
            return Result<Look>(digest.status());
        look.digest = digest.value();
    }
    return look;
}

} // namespace

Result<CopySource> openForCopy(const std::wstring& source)
{
    const auto open = [&](DWORD share) {
        return UniqueHandle(::CreateFileW(source.c_str(), GENERIC_READ, share, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    };
    CopySource in{open(FILE_SHARE_READ), true};
    if (!in.handle && ::GetLastError() == ERROR_SHARING_VIOLATION)
        in = CopySource{open(FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE), false};
    if (in.handle)
        return Result<CopySource>(std::move(in));
    const DWORD error = ::GetLastError();
    if (isMissing(error))
        return Result<CopySource>(failure(ERROR_FILE_NOT_FOUND, FileFailure::SourceMissing));
    return Result<CopySource>(error == ERROR_SHARING_VIOLATION ? inUse(source) : failure(error));
}

Status copySnapshot(const CopySource& in, HANDLE out, const CopyProgress& progress)
{
    for (int attempt = 1; attempt <= Attempts; ++attempt) {
        const auto before = lookAt(in, progress, attempt);
        if (!before)
            return before.status();
        if (attempt > 1)
            if (Status rewound = rewind(in.handle.get(), out); !rewound)
                return rewound;
        const auto size = static_cast<std::uint64_t>(before.value().stamp.size);
        std::uint64_t copied = 0;
        PhaseReport reading(progress, in.handle.get(), CopyStep::Phase::Reading, size, attempt);
        if (Status done = copyContent(in.handle.get(), out, reading, copied); !done)
            return done;
        const auto after = lookAt(in, progress, attempt);
        if (!after)
            return after.status();
        if (copied == size && after.value() == before.value())
            return !progress || progress({CopyStep::Phase::Finishing, copied, copied, attempt})
                       ? Status()
                       : cancelled();
    }
    return failure(ERROR_INVALID_DATA, FileFailure::SourceChanged);
}

} // namespace marlo::win32
