#pragma once

#include "TwipBox.h"
#include "WinHandle.h"

#include "WinSystem.h"

namespace marlo {

// Dots per inch of the screen the windows show on (the programs declare
// themselves DPI-aware, so this is the monitor's own).
int screenDpi();

int pixelsFromTwips(int twips, int dpi);
RECT rectFromTwips(const TwipBox& box, int dpi);

// A font of the given face, size in points and weight (400 regular, 700
// bold), Western character set; the system maps a missing face to the
// nearest one it has.
win32::UniqueFont makeFont(const wchar_t* face, double points, int weight, int dpi);

// Sizes the window so that its client area is `width` x `height` pixels,
// then places it in the middle of the work area of its monitor.
void sizeClientAndCentre(HWND window, int width, int height);

// Makes a child control at `box` (twips) with the given font.
HWND addControl(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style,
                const TwipBox& box, int id, HFONT font, int dpi);

} // namespace marlo
