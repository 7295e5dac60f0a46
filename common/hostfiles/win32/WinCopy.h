#pragma once

#include "FileSystem.h"
#include "Result.h"

#include <memory>
#include <string>

namespace marlo::win32 {

// Copies the whole of `source` for `destination` (system paths) so that a
// failure, a cancel or a kill at any instant leaves the destination with its
// old content or the new, never a torn or empty file. The copy is written to
// a hidden temporary file beside the destination (see temporaryNameFor),
// which the system removes should the program die while writing it, and
// flushed to the disk; Place() looks at the destination again and puts it in
// place with write-through. What killed copies into
// the same destination left is removed first.
//
// The copy is the source as it stood at one instant: writers are shut out
// while it is read, or, where another program has it open for writing, a
// copy during which it changed is made again and at last refused.
//
// A destination that exists keeps its hidden and system marks; a new one is
// an ordinary file, never read-only (a read-only template must not make a
// read-only database). Fails before anything is written on a missing
// source, a destination that is the source itself (same volume and file
// index), a folder, or read-only, and a destination folder that does not
// exist; fails without replacing it when another program holds the
// destination. Reading a source that another program has open is allowed
// where that program shares it.
Result<std::unique_ptr<StagedCopy>> stageCopy(const std::wstring& source,
                                              const std::wstring& destination,
                                              const CopyOptions& options = {});

// Gives `backup` the content `file` has now, keeping `file` where it is: a
// second link to the file where the drive has links, else a crash-safe copy
// placed only while the name is free. Never replaces `backup`.
Status keepBackup(const std::wstring& file, const std::wstring& backup);

} // namespace marlo::win32
