#include "WinCopyContent.h"

#include "WinErrors.h"
#include "WinFileInfo.h"
#include "WinInUse.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <utility>
#include <vector>

namespace marlo::win32 {

namespace {

constexpr DWORD BufferSize = 1 << 20;
constexpr int Attempts = 3;

Status copyContent(HANDLE in, HANDLE out, std::uint64_t size, const CopyProgress& progress,
                   std::uint64_t& copied)
{
    const auto cancelled = [] { return failure(ECANCELED, "the copy was cancelled"); };
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

} // namespace

Result<UniqueHandle> openForCopy(const std::wstring& source)
{
    const auto open = [&](DWORD share) {
        return UniqueHandle(::CreateFileW(source.c_str(), GENERIC_READ, share, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    };
    UniqueHandle in = open(FILE_SHARE_READ);
    if (!in && ::GetLastError() == ERROR_SHARING_VIOLATION)
        in = open(FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (in)
        return Result<UniqueHandle>(std::move(in));
    const DWORD error = ::GetLastError();
    if (isMissing(error))
        return Result<UniqueHandle>(
            failure(ERROR_FILE_NOT_FOUND, "the source file does not exist"));
    return Result<UniqueHandle>(error == ERROR_SHARING_VIOLATION ? inUse(source) : failure(error));
}

Status copySnapshot(HANDLE in, HANDLE out, const CopyProgress& progress)
{
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        const auto before = stampOf(in);
        if (!before)
            return before.status();
        if (attempt > 0)
            if (Status rewound = rewind(in, out); !rewound)
                return rewound;
        const auto size = static_cast<std::uint64_t>(before.value().size);
        std::uint64_t copied = 0;
        if (Status done = copyContent(in, out, size, progress, copied); !done)
            return done;
        const auto after = stampOf(in);
        if (!after)
            return after.status();
        if (copied == size && after.value() == before.value())
            return {};
    }
    return failure(ERROR_INVALID_DATA, "the file changed while it was being copied; close the "
                                       "main program and try again");
}

} // namespace marlo::win32
