#pragma once

#include "Result.h"

#include "WinSystem.h"

#include <string>
#include <vector>

namespace marlo::win32 {

// What a file that is replaced hands on to the file that takes its name, as
// the system's own replace does: its access rules, its owner and group, its
// marks (hidden, system, not indexed) and its creation date.
struct HandedOn {
    DWORD attributes = 0;
    // Zero: the new file keeps its own.
    LARGE_INTEGER created{};
    // Self-relative; empty where the drive keeps no access rules (FAT).
    std::vector<BYTE> security;
};

// What the file at `path` hands on; nothing where no file is there. Fails
// where its access rules cannot be read: a replace that would silently drop
// them is not made.
Result<HandedOn> handedOnBy(const std::wstring& path);

// Gives `file`, open with WRITE_DAC, the access rules handed on, and the
// owner and group too where this process may set them: another user's file
// stays ours without the privilege to give it back, as any editor's copy
// would. Fails only where the access rules cannot be set.
Status takeSecurity(HANDLE file, const HandedOn& from);

} // namespace marlo::win32
