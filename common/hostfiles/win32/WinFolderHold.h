#pragma once

#include "FileSystem.h"
#include "Result.h"

#include <memory>
#include <string>

namespace marlo::win32 {

// FileSystem::HoldFolder on a system path: a named mutex of the whole
// machine, named for the folder's volume serial number and file index, so
// that every spelling of the folder and every user's instance of the tools
// meet in it. The system lets go of it when the holding thread or process
// ends, however it ends, and nothing is left on the drive. The hold is let
// go on the thread that took it (the window's).
Result<std::unique_ptr<FolderHold>> holdFolder(const std::wstring& folder);

} // namespace marlo::win32
