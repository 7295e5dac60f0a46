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

// What any write to a file moves: its length, its last write time and its
// change time. Equal stamps before and after reading it mean that no one
// wrote it meanwhile.
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t lastWrite = 0;
    std::int64_t change = 0;
    bool operator==(const FileStamp&) const = default;
};
Result<FileStamp> stampOf(HANDLE file);

} // namespace marlo::win32
