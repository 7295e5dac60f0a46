#pragma once

#include "TwipBox.h"
#include "WinHandle.h"
#include "WindowIcons.h"

#include "WinSystem.h"

#include <vector>

namespace marlo {

// A font as a window is designed with it: face, size in points, weight
// (400 regular, 700 bold).
struct FontDesign {
    const wchar_t* face;
    double points;
    int weight;
};

// The controls of one window at their design boxes (twips) and in their
// design fonts, at the scale of the monitor the window shows on; laid out
// anew when the window meets another scale. The fonts live as long as the
// layout, which the window keeps as long as its controls; so do the
// window's icons, drawn at its scale.
class TwipLayout {
public:
    // `clientWidth` x `clientHeight` twips is the window's client area as
    // designed; the layout starts at the DPI of the window's monitor.
    TwipLayout(HWND window, int clientWidth, int clientHeight);

    int dpi() const { return dpi_; }

    // A font that controls can share; answers its number for addControl.
    int addFont(const FontDesign& font);
    static constexpr int SystemFont = -1;

    // Makes a child control of the window at `box` in font number `font`.
    HWND addControl(const wchar_t* windowClass, const wchar_t* text, DWORD style,
                    const TwipBox& box, int id, int font = SystemFont);

    // Gives the window its designed client size and places it in the middle
    // of the work area of its monitor.
    void sizeAndCentre();

    // WM_GETDPISCALEDSIZE: sets the SIZE at lParam to the window's size at
    // the DPI in wParam, the design's (or, for a window the user sizes, the
    // user's) scaled; answers whether it did.
    bool scaledSize(WPARAM wParam, LPARAM lParam) const;
    // WM_DPICHANGED: every control at its box and in fonts made for the new
    // DPI, the window at the rectangle the system suggests.
    void dpiChanged(WPARAM wParam, LPARAM lParam);

private:
    struct Placed {
        HWND control;
        TwipBox box;
        int font;
    };
    void layOut(int dpi);
    SIZE clientSizeAt(int dpi) const;
    // The client size the window takes at `dpi`.
    SIZE clientForDpi(int dpi) const;
    // Gives the window a client area of `client` pixels, centred on `centre`.
    void placeAround(POINT centre, SIZE client);

    HWND window_;
    int clientWidth_, clientHeight_;
    int dpi_;
    std::vector<FontDesign> fontDesigns_;
    std::vector<win32::UniqueFont> fonts_;
    std::vector<Placed> controls_;
    WindowIcons icons_;
};

} // namespace marlo
