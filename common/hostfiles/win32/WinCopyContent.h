#pragma once

#include "Platform.h"
#include "Result.h"
#include "WinHandle.h"

#include <string>

namespace marlo::win32 {

// A file opened to be copied.
struct CopySource {
    UniqueHandle handle;
    // Where no one writes to the file, writers are shut out while the handle
    // is open, and the copy is a snapshot as it stands.
    bool writersShutOut = false;
};

// Opens a file to be copied, shutting writers out where no one writes to it.
// A file that another program has open for writing is shared with it
// instead, and copySnapshot finds out whether that program wrote to it
// meanwhile. Fails, naming the holder, where the other program shares nothing.
Result<CopySource> openForCopy(const std::wstring& source);

// Writes the whole of `in` into `out`, which holds nothing else afterwards,
// as it stood at one instant: a copy during which the file changed is made
// again, and after three such attempts the copy fails. Where writers share
// the file, its size and stamps are not trusted alone (a program that keeps
// the file open may not move them until it closes it): the content read
// before and after the copy must agree too. Reports its progress, each
// reading of the content included; a false answer cancels up to the report
// that it is finishing.
Status copySnapshot(const CopySource& in, HANDLE out, const CopyProgress& progress);

} // namespace marlo::win32
