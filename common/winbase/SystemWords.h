#pragma once

#include "WinSystem.h"

#include <string>

namespace marlo::win32 {

// The system's own words for an error code, without the closing full stop;
// "error N" when it has none.
std::string systemWords(DWORD error);

} // namespace marlo::win32
