#include "ProgressWindow.h"

#include "MessageBox.h"
#include "MessagePump.h"
#include "ProgressPresenter.h"
#include "WinDesign.h"
#include "WinText.h"

#include <commctrl.h>

#include <chrono>

namespace marlo {

namespace {

constexpr UINT PollInterval = 50; // ms
// Posted by the copy's worker as the copy ends.
constexpr UINT CopyEnded = WM_APP + 1;
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
    if (!create(L"MarloCopyProgress", win32::widen(MessageTitle).c_str(),
                WS_POPUP | WS_CAPTION | WS_SYSMENU, programIcon(),
                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), owner))
        return;

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
    // The focus on Cancel without making it the default button: Enter,
    // easily pressed in passing, must not throw away a long copy.
    SetFocus(cancel_);
}

ProgressWindow::~ProgressWindow()
{
    disabledOwner_.reset();
    destroy();
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
        HWND shown = window.hwnd();
        if (!shown) {
            // Without its window the copy is waited for as a short one is.
            while (!job.waitFor(std::chrono::seconds(1))) {
            }
            presenter.look();
            return;
        }
        window.whenCancelAsked([&presenter] { presenter.requestCancel(); });
        job.whenEnded([shown] { PostMessageW(shown, CopyEnded, 0, 0); });
        const struct StopTelling {
            CopyJob& job;
            ~StopTelling() { job.whenEnded({}); }
        } stopTelling{job};
        // The figures are looked at on a timer. Without one they stand
        // still, but the copy's end still closes the window.
        const UINT_PTR poll = SetTimer(nullptr, 0, PollInterval, nullptr);
        presenter.look();
        MSG message;
        while (!presenter.ended()) {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got <= 0) {
                // The program is to end, or the system fails to hand over
                // messages: kept for the program's own loop, and the
                // presenter that goes stops the copy.
                PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 1);
                break;
            }
            if ((message.message == WM_TIMER && poll && !message.hwnd && message.wParam == poll) ||
                (message.message == CopyEnded && message.hwnd == shown))
                presenter.look();
            else
                dispatchMessage(message);
        }
        if (poll)
            KillTimer(nullptr, poll);
    };
}

} // namespace marlo
