#pragma once

#include "Result.h"

#include <string>

namespace marlo {

// Starts `program`, a bare name, without waiting for it: the system's own
// search looks in the folder of the running program first. The new
// program's window is shown as `showCommand` asks (SW_SHOWNORMAL: normal,
// with the focus), and it works in `workingFolder`. Answers the new
// process's id.
Result<int> startProgram(const std::string& program, int showCommand,
                         const std::string& workingFolder);

} // namespace marlo
