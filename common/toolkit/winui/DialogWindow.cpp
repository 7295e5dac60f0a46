#include "DialogWindow.h"

#include "ResourceIds.h"
#include "SessionEndSteps.h"
#include "StartMonitor.h"
#include "WinText.h"

#include <commctrl.h>

namespace marlo {

HICON programIcon(int metric)
{
    const int size = GetSystemMetrics(metric);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ProgramIconId),
                                         IMAGE_ICON, size, size, LR_SHARED));
}

DialogWindow::~DialogWindow()
{
    destroy();
}

void DialogWindow::destroy()
{
    if (HWND window = hwnd())
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    window_.reset();
}

bool DialogWindow::create(const Frame& frame)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    if (!GetClassInfoExW(instance, frame.className, &windowClass)) {
        windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.cbWndExtra = DLGWINDOWEXTRA;
        windowClass.hInstance = instance;
        windowClass.hIcon = programIcon();
        windowClass.hIconSm = programIcon(SM_CXSMICON);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = frame.background;
        windowClass.lpszClassName = frame.className;
        if (!RegisterClassExW(&windowClass)) {
            creationError_ = GetLastError();
            return false;
        }
    }
    endsProgram_ = frame.endsProgram;
    // Made on the monitor it opens on; the layout sizes and centres it there.
    const RECT at = openingRect(frame.owner);
    if (!CreateWindowExW(WS_EX_CONTROLPARENT, frame.className, win32::widen(frame.caption).c_str(),
                         frame.style, at.left, at.top, at.right - at.left, at.bottom - at.top,
                         frame.owner, nullptr, instance, this)) {
        // A refusal without an error of its own is most likely the
        // desktop's heap run out.
        creationError_ = GetLastError() ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    layout_.emplace(hwnd(), frame.clientWidth, frame.clientHeight);
    return true;
}

HWND DialogWindow::addButton(const char* caption, const TwipBox& box, int id, int font)
{
    // Each tells when it takes the focus, so that Enter presses it.
    return layout_->addControl(WC_BUTTONW, win32::widen(caption).c_str(),
                               WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, box, id, font);
}

void DialogWindow::show()
{
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    if (startFocus_)
        focusControl(startFocus_);
    UpdateWindow(hwnd());
}

void DialogWindow::runHandler(const std::function<void()>& handler)
{
    closeWhenIdle_.runHandler(handler, [this] {
        if (hwnd())
            DestroyWindow(hwnd());
    });
}

void DialogWindow::close()
{
    if (closeWhenIdle_.closeNow())
        DestroyWindow(hwnd());
}

std::optional<LRESULT> DialogWindow::handle(UINT, WPARAM, LPARAM)
{
    return std::nullopt;
}

void DialogWindow::clicked(int) {}

std::optional<LRESULT> DialogWindow::handleCommon(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            runHandler([this, id = LOWORD(wParam)] { clicked(id); });
        else if (HIWORD(wParam) == BN_SETFOCUS)
            // Enter presses the button that has the focus.
            SendMessageW(hwnd(), DM_SETDEFID, LOWORD(wParam), 0);
        return 0;
    case WM_GETDPISCALEDSIZE:
        return layout_->scaledSize(wParam, lParam);
    case WM_DPICHANGED:
        layout_->dpiChanged(wParam, lParam);
        return 0;
    case WM_CLOSE:
        closeAsked();
        return 0;
    case WM_DESTROY:
        // The program's exit status is its window side's; the loop just ends.
        if (endsProgram_)
            PostQuitMessage(0);
        return 0;
    default:
        return std::nullopt;
    }
}

void DialogWindow::focusControl(HWND control)
{
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    SendMessageW(hwnd(), DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID(control)), 0);
}

LRESULT CALLBACK DialogWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<DialogWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_.reset(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self) {
        // The system destroys the window; the owner must not do it again.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_.forget();
        return DefDlgProcW(window, message, wParam, lParam);
    }
    if (message == WM_QUERYENDSESSION && self && self->closeWhenIdle_.handlerRunning()) {
        // Ending the program now would cut the handler short, its question
        // unanswered or its notice unshown: the session waits, and the
        // window closes once the handler is done.
        self->closeWhenIdle_.keepCloseForSession();
        return FALSE;
    }
    if (message == WM_ENDSESSION && self && self->closeWhenIdle_.handlerRunning()) {
        // Cancelled: the window stays. Ended all the same (the user chose
        // to end the programs): the files are left safe, then the process
        // ends before the system ends it.
        if (wParam)
            endWithSession();
        else
            self->closeWhenIdle_.sessionGoesOn();
        return 0;
    }
    if (self)
        if (const std::optional<LRESULT> handled = self->handle(message, wParam, lParam))
            return *handled;
    if (self && self->layout_)
        if (const std::optional<LRESULT> handled = self->handleCommon(message, wParam, lParam))
            return *handled;
    return DefDlgProcW(window, message, wParam, lParam);
}

} // namespace marlo
