#pragma once

#include "Result.h"

#include <string>
#include <vector>

namespace marlo::win32 {

// Fails with words that name the program, where the system can tell which,
// when another program holds the file open; a file that is missing or that
// we may not read passes, and the operation meets its own refusal. A writer,
// or a holder that does not share deletion (as the main program's database
// engine), is refused at once; readers that share reading and deletion (a
// virus scanner, a sync client) are waited out for a moment.
Status refuseIfInUse(const std::wstring& path);
Status refuseIfAnyInUse(const std::vector<std::wstring>& paths);

// The failure for a file that the system found held by another program.
Status inUse(const std::wstring& path);

} // namespace marlo::win32
