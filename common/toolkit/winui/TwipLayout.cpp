#include "TwipLayout.h"

#include "WinDesign.h"
#include "WinDpi.h"

namespace marlo {

TwipLayout::TwipLayout(HWND window, int clientWidth, int clientHeight)
    : window_(window), clientWidth_(clientWidth), clientHeight_(clientHeight),
      dpi_(windowDpi(window)), icons_(window)
{
    // The class's icons are drawn for the screen's scale; a window that
    // opens at another needs its own, which a start should not pay for.
    if (dpi_ != screenDpi())
        icons_.setForDpi(dpi_);
}

int TwipLayout::addFont(const FontDesign& font)
{
    fontDesigns_.push_back(font);
    fonts_.push_back(makeFont(font.face, font.points, font.weight, dpi_));
    return static_cast<int>(fonts_.size()) - 1;
}

HWND TwipLayout::addControl(const wchar_t* windowClass, const wchar_t* text, DWORD style,
                            const TwipBox& box, int id, int font)
{
    HWND control = marlo::addControl(
        window_, windowClass, text, style, box, id,
        font == SystemFont ? nullptr : fonts_.at(static_cast<std::size_t>(font)).get(), dpi_);
    if (control)
        controls_.push_back({control, box, font});
    return control;
}

SIZE TwipLayout::clientSizeAt(int dpi) const
{
    return {pixelsFromTwips(clientWidth_, dpi), pixelsFromTwips(clientHeight_, dpi)};
}

void TwipLayout::sizeAndCentre()
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    placeAround({(work.left + work.right) / 2, (work.top + work.bottom) / 2}, clientSizeAt(dpi_));
}

void TwipLayout::placeAround(POINT centre, SIZE client)
{
    const auto place = [&](SIZE frame) {
        SetWindowPos(window_, nullptr, centre.x - frame.cx / 2, centre.y - frame.cy / 2, frame.cx,
                     frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    SIZE frame = frameForClient(window_, client.cx, client.cy, dpi_);
    place(frame);
    // A caption or border drawn at another scale than the one asked for (a
    // system that scales them for the whole screen only) leaves the client
    // area off by their difference, which a second move makes up.
    RECT actual{};
    GetClientRect(window_, &actual);
    if (actual.right != client.cx || actual.bottom != client.cy) {
        frame.cx += client.cx - actual.right;
        frame.cy += client.cy - actual.bottom;
        place(frame);
    }
}

SIZE TwipLayout::clientForDpi(int dpi) const
{
    // A window the user can size keeps the size the user gave it, scaled.
    if (GetWindowLongPtrW(window_, GWL_STYLE) & WS_THICKFRAME) {
        RECT now{};
        GetClientRect(window_, &now);
        return {MulDiv(now.right, dpi, dpi_), MulDiv(now.bottom, dpi, dpi_)};
    }
    return clientSizeAt(dpi);
}

bool TwipLayout::scaledSize(WPARAM wParam, LPARAM lParam) const
{
    const int dpi = static_cast<int>(wParam);
    if (dpi <= 0)
        return false;
    const SIZE client = clientForDpi(dpi);
    *reinterpret_cast<SIZE*>(lParam) = frameForClient(window_, client.cx, client.cy, dpi);
    return true;
}

void TwipLayout::dpiChanged(WPARAM wParam, LPARAM lParam)
{
    const int dpi = HIWORD(wParam);
    if (dpi <= 0)
        return;
    const SIZE client = clientForDpi(dpi);
    layOut(dpi);
    // The system sizes a minimized or maximized window itself.
    if (IsIconic(window_) || IsZoomed(window_))
        return;
    // The rectangle as suggested: it has the size answered to
    // WM_GETDPISCALEDSIZE and keeps the cursor where it holds the caption.
    // Moved elsewhere, the window could fall back onto the monitor it came
    // from, and flip between the two scales at their edge.
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // A system that asks no size beforehand (before Windows 10 1703), or
    // draws the frame at another scale than it answers for (Wine), leaves
    // the client area off: it is made up around the suggested centre.
    RECT actual{};
    GetClientRect(window_, &actual);
    if (actual.right != client.cx || actual.bottom != client.cy)
        placeAround(
            {(suggested.left + suggested.right) / 2, (suggested.top + suggested.bottom) / 2},
            client);
}

void TwipLayout::layOut(int dpi)
{
    std::vector<win32::UniqueFont> fonts;
    for (const FontDesign& font : fontDesigns_)
        fonts.push_back(makeFont(font.face, font.points, font.weight, dpi));
    for (const Placed& placed : controls_) {
        const RECT r = rectFromTwips(placed.box, dpi);
        SetWindowPos(placed.control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (placed.font != SystemFont)
            SendMessageW(
                placed.control, WM_SETFONT,
                reinterpret_cast<WPARAM>(fonts[static_cast<std::size_t>(placed.font)].get()),
                FALSE);
    }
    // No control uses the old fonts any more: only now do they go.
    fonts_ = std::move(fonts);
    dpi_ = dpi;
    icons_.setForDpi(dpi);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace marlo
