#pragma once

#include "WinSystem.h"

namespace marlo {

// Dots per inch of the monitor `window` shows on. The programs are aware of
// each monitor's scale where the system offers it (Windows 10, 1607 on);
// older systems have one scale for all, the screen's.
int windowDpi(HWND window);

// The outer size of `window` for a client area of `width` x `height`
// pixels, with its caption and borders as they are drawn at `dpi`.
SIZE frameForClient(HWND window, int width, int height, int dpi);

} // namespace marlo
