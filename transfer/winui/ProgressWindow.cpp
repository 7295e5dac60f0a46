#include "ProgressWindow.h"

#include "MessageBox.h"
#include "MessagePump.h"
#include "ProgressPresenter.h"
#include "WinDesign.h"
#include "WinText.h"

#include <commctrl.h>

namespace marlo {

namespace {

constexpr UINT PollInterval = 50; // ms
// Pixels at 96 dpi.
constexpr int Width = 380, Margin = 11, LineHeight = 16, BarHeight = 18, ButtonWidth = 80,
              ButtonHeight = 24, Gap = 8;

} // namespace

ProgressWindow::ProgressWindow(HWND owner, const std::string& copying)
{
    if (owner && IsWindow(owner) && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        disabledOwner_.reset(owner);
    }
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

void ProgressWindow::setBytesLine(const std::string& line)
{
    SetWindowTextW(bytes_, win32::widen(line).c_str());
}

void ProgressWindow::setBarPosition(int position)
{
    if (GetWindowLongPtrW(bar_, GWL_STYLE) & PBS_MARQUEE) {
        SendMessageW(bar_, PBM_SETMARQUEE, FALSE, 0);
        SetWindowLongPtrW(bar_, GWL_STYLE, GetWindowLongPtrW(bar_, GWL_STYLE) & ~PBS_MARQUEE);
        SendMessageW(bar_, PBM_SETRANGE32, 0, BarSteps);
    }
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void ProgressWindow::disableCancel()
{
    EnableWindow(cancel_, FALSE);
}

std::optional<LRESULT> ProgressWindow::handle(UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message) {
    case WM_COMMAND:
        // Cancel and Escape both arrive as IDCANCEL; Enter as IDOK does nothing.
        if (LOWORD(wParam) == IDCANCEL && askCancel_)
            askCancel_();
        return 0;
    case WM_CLOSE:
        if (askCancel_)
            askCancel_();
        return 0;
    default:
        return std::nullopt;
    }
}

ShowUntilEnded showInProgressWindow(HWND owner)
{
    return [owner](CopyJob& job, const std::string& copying) {
        ProgressWindow window(owner, copying);
        ProgressPresenter presenter(job, window);
        window.whenCancelAsked([&presenter] { presenter.requestCancel(); });
        const UINT_PTR poll = SetTimer(nullptr, 0, PollInterval, nullptr);
        presenter.look();
        MSG message;
        while (!presenter.ended()) {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got <= 0) {
                // The program is to end: kept for its own loop, and the
                // presenter that goes stops the copy.
                if (got == 0)
                    PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (message.message == WM_TIMER && !message.hwnd && message.wParam == poll)
                presenter.look();
            else
                dispatchMessage(message);
        }
        KillTimer(nullptr, poll);
    };
}

} // namespace marlo
