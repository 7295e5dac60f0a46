#pragma once

#include "FileSystem.h"
#include "Result.h"

#include <memory>
#include <string>

namespace marlo::win32 {

// FileSystem::StageCopy on system paths. The copy is written to a hidden
// temporary file beside the destination (see temporaryNameFor), which the
// system removes should the program die while writing it, and placed with
// write-through; what killed copies into the same destination left is
// removed first. Writers are shut out while the source is read, or, where
// another program has it open for writing, a copy during which it changed is
// made again and at last refused. An existing destination keeps its hidden
// and system marks; the source itself is told by its volume and file index.
Result<std::unique_ptr<StagedCopy>> stageCopy(const std::wstring& source,
                                              const std::wstring& destination,
                                              const CopyOptions& options = {});

// FileSystem::KeepBackup on system paths.
Status keepBackup(const std::wstring& file, const std::wstring& backup,
                  const CopyProgress& progress = {});

// FileSystem::SeparateBackup on system paths: a copy of the file staged
// beside `backup`, flushed, and renamed over it with write-through.
Result<bool> separateBackup(const std::wstring& file, const std::wstring& backup);

} // namespace marlo::win32
