#pragma once

#include "Result.h"

#include <string>

namespace marlo {

// Starts `program`, a bare name, without waiting for it: the system's own
// search looks in the folder of the running program first. The new
// program's window is shown as `showCommand` asks (SW_SHOWNORMAL: normal,
// with the focus), and it works in `workingFolder`. A program that must run
// with administrator rights (its manifest, or its compatibility setting)
// is started through the shell, which asks the user for them. Answers the
// new process's id.
Result<int> startProgram(const std::string& program, int showCommand,
                         const std::string& workingFolder);

// The start through the shell alone, which may ask the user for
// administrator rights; the name is searched for from the folder of the
// running program first, as startProgram's is. Shows nothing when the
// program cannot be started, the user's refusal included. Answers the new
// process's id, or 0 where the system does not tell it.
Result<int> startThroughShell(const std::string& program, int showCommand,
                              const std::string& workingFolder);

} // namespace marlo
