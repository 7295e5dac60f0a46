#pragma once

#include "Result.h"

#include "WinSystem.h"

#include <cstdint>

namespace marlo::win32 {

// Which file a handle has open: two names are one file when both agree.
struct FileIdentity {
    DWORD volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};
Result<FileIdentity> identityOf(HANDLE file);
FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info);

// What a write to a file moves: its length, its last write time and its
// change time. A program that keeps the file open may not move the times
// until it closes it, so equal stamps alone prove nothing while writers
// share the file.
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t lastWrite = 0;
    std::int64_t change = 0;
    bool operator==(const FileStamp&) const = default;
};
Result<FileStamp> stampOf(HANDLE file);

} // namespace marlo::win32
