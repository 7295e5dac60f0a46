#pragma once

#include "Platform.h"
#include "Result.h"
#include "WinHandle.h"

#include <string>

namespace marlo::win32 {

// Opens a file to be copied. Where no one writes to it, writers are shut out
// while the handle is open, and the copy is a snapshot; a file that another
// program has open for writing is shared with it instead, and copySnapshot
// finds out whether that program wrote to it meanwhile. Fails, naming the
// holder, where the other program shares nothing.
Result<UniqueHandle> openForCopy(const std::wstring& source);

// Writes the whole of `in` into `out`, which holds nothing else afterwards,
// as it stood at one instant: a copy during which the file changed is made
// again, and after three such attempts the copy fails. Reports its progress;
// a false answer cancels.
Status copySnapshot(HANDLE in, HANDLE out, const CopyProgress& progress);

} // namespace marlo::win32
