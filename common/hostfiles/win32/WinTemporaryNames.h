#pragma once

#include "WinFileInfo.h"
#include "WinPaths.h"

#include "WinSystem.h"

#include <string>
#include <string_view>

namespace marlo::win32 {

// The name of a temporary file that a copy into `name` is written to:
// ".<name>.~marlo-XXXXXX.tmp" (six random letters or digits). No member's name
// can match it, and it tells which destination left it.
std::wstring temporaryNameFor(const std::wstring& name);
bool isTemporaryOf(std::wstring_view candidate, const std::wstring& name);

// Marks an open file to go as its last handle closes, or takes the mark away.
bool markForDeletion(HANDLE file, bool remove);

// Removes what killed copies into `destination` left beside it: its
// temporary files that no program holds. Never a read-only file, and never
// `source`, the file about to be copied.
void removeStaleTemporaries(const SplitPath& destination, const FileIdentity& source);

} // namespace marlo::win32
