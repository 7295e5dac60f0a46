#include "WinDesign.h"

#include <cmath>

namespace marlo {

int screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int pixelsFromTwips(int twips, int dpi)
{
    return MulDiv(twips, dpi, 1440);
}

RECT rectFromTwips(const TwipBox& box, int dpi)
{
    const int left = pixelsFromTwips(box.left, dpi);
    const int top = pixelsFromTwips(box.top, dpi);
    return {left, top, left + pixelsFromTwips(box.width, dpi),
            top + pixelsFromTwips(box.height, dpi)};
}

win32::UniqueFont makeFont(const wchar_t* face, double points, int weight, int dpi)
{
    LOGFONTW font{};
    // A negative height asks for the character height, as point sizes mean.
    font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
    font.lfWeight = weight;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = CLEARTYPE_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return win32::UniqueFont(CreateFontIndirectW(&font));
}

HWND addControl(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style,
                const TwipBox& box, int id, HFONT font, int dpi)
{
    const RECT r = rectFromTwips(box, dpi);
    // Overlapping siblings clip each other, so that the one earlier in the
    // stacking order is drawn above the later ones.
    HWND control = CreateWindowExW(
        0, windowClass, text, WS_CHILD | WS_CLIPSIBLINGS | style, r.left, r.top, r.right - r.left,
        r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (control && font)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

} // namespace marlo
