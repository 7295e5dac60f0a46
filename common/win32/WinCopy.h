#pragma once

#include "Platform.h"
#include "Result.h"

#include <string>

namespace marlo::win32 {

struct CopyOptions {
    bool overwrite = true;
    CopyProgress progress; // optional
};

// Copies the whole of `source` to `destination` (system paths) so that a
// failure, a cancel or a kill at any instant leaves the destination with its
// old content or the new, never a torn or empty file. The copy is written to
// a temporary file beside the destination (".<name>.XXXXXX.tmp"), which the
// system removes should the program die while writing it, flushed to the
// disk, and put in place with write-through.
//
// A destination that exists keeps its hidden and system marks; a new one is
// an ordinary file, never read-only (a read-only template must not make a
// read-only database). Fails before anything is written on a missing
// source, a destination that is the source itself (same volume and file
// index), a folder, or read-only, and a destination folder that does not
// exist; fails without replacing it when another program holds the
// destination. Reading a source that another program has open is allowed
// where that program shares it.
Status copyFileCrashSafe(const std::wstring& source, const std::wstring& destination,
                         const CopyOptions& options = {});

} // namespace marlo::win32
