#pragma once

#include "FileSystem.h"
#include "Result.h"

#include <memory>
#include <string>

namespace marlo::win32 {

// FileSystem::HoldFolder on a system path.
Result<std::unique_ptr<FolderHold>> holdFolder(const std::wstring& folder);

// FileSystem::SeparateBackup on system paths.
Result<bool> separateBackup(const std::wstring& file, const std::wstring& backup);

} // namespace marlo::win32
