#include "WindowColours.h"

namespace marlo {

bool highContrastOn()
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

Palette paletteFor(const DesignColours& design, bool highContrast)
{
    if (highContrast)
        return {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT),
                GetSysColor(COLOR_GRAYTEXT)};
    return {design.face, GetSysColor(COLOR_BTNTEXT), design.disabledText};
}

ThemedColours::ThemedColours(const DesignColours& design) : design_(design)
{
    choose();
}

void ThemedColours::choose()
{
    palette_ = paletteFor(design_, highContrastOn());
    face_.reset(CreateSolidBrush(palette_.face));
}

void ThemedColours::themeChanged(HWND window, UINT message)
{
    choose();
    // Only top-level windows hear of new system colours; common controls
    // are told by their parent.
    if (message == WM_SYSCOLORCHANGE)
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace marlo
