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

Status copyContent(HANDLE in, HANDLE out, std::uint64_t size, const CopyProgress& progress,
                   std::uint64_t& copied)
{
    if (progress && !progress(0, size))
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
        if (progress && !progress(std::min(copied, size), size))
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
Result<std::uint64_t> digestOf(HANDLE in)
{
    const LARGE_INTEGER start{};
    if (!::SetFilePointerEx(in, start, nullptr, FILE_BEGIN))
        return Result<std::uint64_t>(lastFailure());
    std::vector<char> buffer(BufferSize);
    ContentDigest digest;
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(in, buffer.data(), BufferSize, &got, nullptr))
            return Result<std::uint64_t>(lastFailure());
        if (got == 0)
            break;
        digest.add({buffer.data(), got});
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

Result<Look> lookAt(const CopySource& in)
{
    const auto stamp = stampOf(in.handle.get());
    if (!stamp)
        return Result<Look>(stamp.status());
    Look look{stamp.value(), std::nullopt};
    if (!in.writersShutOut) {
        const auto digest = digestOf(in.handle.get());
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
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        const auto before = lookAt(in);
        if (!before)
            return before.status();
        if (attempt > 0)
            if (Status rewound = rewind(in.handle.get(), out); !rewound)
                return rewound;
        const auto size = static_cast<std::uint64_t>(before.value().stamp.size);
        std::uint64_t copied = 0;
        if (Status done = copyContent(in.handle.get(), out, size, progress, copied); !done)
            return done;
        const auto after = lookAt(in);
        if (!after)
            return after.status();
        if (copied == size && after.value() == before.value())
            return {};
    }
    return failure(ERROR_INVALID_DATA, FileFailure::SourceChanged);
}

} // namespace marlo::win32
