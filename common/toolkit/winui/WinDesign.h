#pragma once

#include "TwipBox.h"
#include "WinHandle.h"

#include "WinSystem.h"

namespace marlo {

// Dots per inch of the screen as a whole: the scale of every monitor where
// the system knows only one (windowDpi knows each monitor's).
int screenDpi();

int pixelsFromTwips(int twips, int dpi);
RECT rectFromTwips(const TwipBox& box, int dpi);

// A font of the given face, size in points and weight (400 regular, 700
// bold), Western character set; the system maps a missing face to the
// nearest one it has.
win32::UniqueFont makeFont(const wchar_t* face, double points, int weight, int dpi);

// Makes a child control at `box` (twips) with the given font.
HWND addControl(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style,
                const TwipBox& box, int id, HFONT font, int dpi);

} // namespace marlo
