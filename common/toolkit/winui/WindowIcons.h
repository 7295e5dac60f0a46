#pragma once

#include "WinHandle.h"

#include "WinSystem.h"

namespace marlo {

// The calls that size and load an icon for one monitor's scale. Older
// systems lack them (GetSystemMetricsForDpi before Windows 10 1607,
// LoadIconWithScaleDown before Vista's common controls): null then.
struct IconCalls {
    int(WINAPI* metricsForDpi)(int metric, UINT dpi);
    HRESULT(WINAPI* loadScaledDown)(HINSTANCE, const wchar_t*, int width, int height, HICON*);
};
// The calls as this system has them.
IconCalls systemIconCalls();

// The side in pixels of the icon `metric` (SM_CXICON or SM_CXSMICON) at
// `dpi`: the system's answer for that scale, or else its answer for the
// screen's scale, scaled.
int iconSide(int metric, int dpi, const IconCalls& calls);

// The program's icon drawn at `side` pixels: scaled down from a larger
// picture of the resource where none has that size, else as the system
// picks and stretches one.
win32::UniqueIcon programIconAt(int side, const IconCalls& calls);

// The big and the small icon of one window (caption, taskbar, Alt+Tab) at
// the window's scale, loaded again when the window meets another scale.
class WindowIcons {
public:
    explicit WindowIcons(HWND window) : window_(window) {}
    void setForDpi(int dpi);

private:
    HWND window_;
    win32::UniqueIcon big_, little_;
};

} // namespace marlo
