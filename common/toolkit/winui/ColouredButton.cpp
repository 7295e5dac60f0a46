#include "ColouredButton.h"

#include "WinHandle.h"

#include <commctrl.h>

#include <string>

namespace marlo {

LRESULT paintButtonInColour(const NMHDR* notice, const Palette& colours)
{
    const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(notice);
    if (draw->dwDrawStage != CDDS_PREPAINT)
        return CDRF_DODEFAULT;
    HWND button = notice->hwndFrom;
    HDC dc = draw->hdc;
    RECT box = draw->rc;
    const UINT state = draw->uItemState;
    const bool pushed = (state & CDIS_SELECTED) != 0;
    const bool disabled = (state & CDIS_DISABLED) != 0 || !IsWindowEnabled(button);
    const bool focused = GetFocus() == button;
    const bool isDefault = (GetWindowLongPtrW(button, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
    const auto uiState = static_cast<UINT>(SendMessageW(button, WM_QUERYUISTATE, 0, 0));

    const win32::UniqueBrush face(CreateSolidBrush(colours.face));
    FillRect(dc, &box, face.get());
    if (isDefault || focused) {
        // In the text's colour, which stands out on the face in every theme.
        const win32::UniqueBrush edge(CreateSolidBrush(colours.text));
        FrameRect(dc, &box, edge.get());
        InflateRect(&box, -1, -1);
    }
    DrawEdge(dc, &box, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);

    std::wstring caption(static_cast<std::size_t>(GetWindowTextLengthW(button)) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(
        GetWindowTextW(button, caption.data(), static_cast<int>(caption.size()))));
    RECT text = box;
    if (pushed)
        OffsetRect(&text, 1, 1);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? colours.disabledText : colours.text);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (uiState & UISF_HIDEACCEL)
        format |= DT_HIDEPREFIX;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, format);
    SelectObject(dc, previous);

    // Enter presses the focused button: it shows which, also before the
    // first key, when the system would still hide focus rectangles.
    if (focused) {
        InflateRect(&box, -2, -2);
        DrawFocusRect(dc, &box);
    }
    return CDRF_SKIPDEFAULT;
}

} // namespace marlo
