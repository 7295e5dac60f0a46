#pragma once

#include "HostErrors.h"
#include "WinSystem.h"

namespace marlo::win32 {

// The failure of the last call that failed on this thread.
Status lastFailure();

// Whether an error means that the name is not there at all.
bool isMissing(DWORD error);

} // namespace marlo::win32
