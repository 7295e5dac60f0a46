#pragma once

#include "WinSystem.h"

#include <string>

namespace marlo {

// What a program's windows need before the first is made: the common
// controls (the progress bar, the themed buttons), and the end of the
// process when the session ends.
void prepareWindowsUi();

// A program whose window could not be made shows the system's words for
// `error` under `applicationTitle`, instead of waiting for ever without a
// window; answers its exit status, 1.
int reportNoWindow(DWORD error, const std::string& applicationTitle);

} // namespace marlo
