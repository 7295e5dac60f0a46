#pragma once

#include "WinHandle.h"

#include "WinSystem.h"

namespace marlo {

// The colours of a window that paints itself and its controls.
struct Palette {
    COLORREF face; // the window, its labels and its buttons
    COLORREF text;
    COLORREF disabledText;
};

// What a window's design gives it in place of the system's colours.
struct DesignColours {
    COLORREF face;
    COLORREF disabledText;
};

// Whether the user has turned on a high-contrast theme.
bool highContrastOn();

// The design's colours, with the system's text; under a high-contrast
// theme, which the user chose to be able to read at all, the system's
// colours alone.
Palette paletteFor(const DesignColours& design, bool highContrast);

// A window's palette and the brush of its face, chosen anew when the user
// switches the theme while the window is open.
class ThemedColours {
public:
    explicit ThemedColours(const DesignColours& design);

    const Palette& palette() const { return palette_; }
    HBRUSH faceBrush() const { return face_.get(); }

    // For WM_SYSCOLORCHANGE, and WM_SETTINGCHANGE of SPI_SETHIGHCONTRAST:
    // chooses the colours again and has `window` and its controls, which
    // learn of the new system colours from it, painted in them.
    void themeChanged(HWND window, UINT message);

private:
    void choose();

    DesignColours design_;
    Palette palette_{};
    win32::UniqueBrush face_;
};

} // namespace marlo
