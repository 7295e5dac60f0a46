#include "ProgressWindow.h"

#include "MessageBox.h"
#include "ProgressTexts.h"
#include "WinDesign.h"
#include "WinText.h"

#include <commctrl.h>

#include <algorithm>

namespace marlo {

namespace {

constexpr int BarSteps = 1000;
// Pixels at 96 dpi.
constexpr int Width = 380, Margin = 11, LineHeight = 16, BarHeight = 18, ButtonWidth = 80,
              ButtonHeight = 24, Gap = 8;

} // namespace

ProgressWindow::ProgressWindow(HWND owner, const std::string& copying,
                               std::function<void()> askCancel)
    : askCancel_(std::move(askCancel))
{
    const int dpi = screenDpi();
    const auto px = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    font_ = makeFont(L"Arial", 8.25, FW_NORMAL, dpi);
    // No minimize box: a hidden modal window would leave the owner dead.
    create(L"MarloCopyProgress", win32::widen(MessageTitle).c_str(),
           WS_POPUP | WS_CAPTION | WS_SYSMENU, programIcon(),
           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), owner);

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto add = [&](const wchar_t* windowClass, const std::wstring& text, DWORD style, int top,
                         int left, int width, int height, int id) {
        HWND control = CreateWindowExW(
            0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, left, top, width, height,
            hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        return control;
    };
    const int inner = px(Width - 2 * Margin);
    int top = px(Margin);
    // A long name is shortened in its middle instead of widening the window.
    add(WC_STATICW, win32::widen(copying), SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, top, px(Margin),
        inner, px(LineHeight), 100);
    top += px(LineHeight + Gap / 2);
    // A blank holds its line until the first figures.
    bytes_ =
        add(WC_STATICW, L" ", SS_LEFT | SS_NOPREFIX, top, px(Margin), inner, px(LineHeight), 101);
    top += px(LineHeight + Gap / 2);
    // Busy until the copy tells its size.
    bar_ = add(PROGRESS_CLASSW, L"", PBS_MARQUEE, top, px(Margin), inner, px(BarHeight), 102);
    SendMessageW(bar_, PBM_SETMARQUEE, TRUE, 30);
    top += px(BarHeight + Gap);
    cancel_ = add(WC_BUTTONW, L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, top,
                  px(Width - Margin - ButtonWidth), px(ButtonWidth), px(ButtonHeight), IDCANCEL);
    top += px(ButtonHeight + Margin);

    sizeClientAndCentre(hwnd(), px(Width), top);
    // Over the middle of its owner rather than of the screen.
    RECT over{}, self{};
    if (owner && GetWindowRect(owner, &over) && GetWindowRect(hwnd(), &self)) {
        const int width = self.right - self.left, height = self.bottom - self.top;
        SetWindowPos(hwnd(), nullptr, (over.left + over.right - width) / 2,
                     (over.top + over.bottom - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    focusControl(cancel_);
}

void ProgressWindow::showProgress(std::uint64_t copied, std::uint64_t total)
{
    if (!cancelling_)
        SetWindowTextW(bytes_, win32::widen(progress::bytesLine(copied, total)).c_str());
    if (GetWindowLongPtrW(bar_, GWL_STYLE) & PBS_MARQUEE) {
        SendMessageW(bar_, PBM_SETMARQUEE, FALSE, 0);
        SetWindowLongPtrW(bar_, GWL_STYLE, GetWindowLongPtrW(bar_, GWL_STYLE) & ~PBS_MARQUEE);
        SendMessageW(bar_, PBM_SETRANGE32, 0, BarSteps);
    }
    const auto position =
        total == 0 ? BarSteps : static_cast<int>(std::min(copied, total) * BarSteps / total);
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    if (copied >= total)
        EnableWindow(cancel_, FALSE);
}

void ProgressWindow::showCancelling()
{
    cancelling_ = true;
    EnableWindow(cancel_, FALSE);
    SetWindowTextW(bytes_, win32::widen(progress::Cancelling).c_str());
}

void ProgressWindow::requestCancel()
{
    if (IsWindowEnabled(cancel_) && askCancel_)
        askCancel_();
}

std::optional<LRESULT> ProgressWindow::handle(UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message) {
    case WM_COMMAND:
        // Cancel and Escape both arrive as IDCANCEL; Enter as IDOK does nothing.
        if (LOWORD(wParam) == IDCANCEL)
            requestCancel();
        return 0;
    case WM_CLOSE:
        requestCancel();
        return 0;
    default:
        return std::nullopt;
    }
}

} // namespace marlo
