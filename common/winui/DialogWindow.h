#pragma once

#include "CloseWhenIdle.h"
#include "WinHandle.h"

#include "WinSystem.h"

#include <functional>
#include <optional>

namespace marlo {

// A top-level window that the system's dialog manager looks after: Tab
// moves between the controls in their stacking order, Enter presses the
// focused button, access keys press theirs. Its class carries the dialog
// manager's extra bytes and falls back on its default procedure. The
// window is destroyed at the latest with its owner object.
//
// A close asked while one of its handlers runs waits for that handler's
// end (CloseWhenIdle); so does the end of the session, which the window
// refuses meanwhile.
class DialogWindow {
public:
    DialogWindow() = default;
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Null once the window has been destroyed, or when it could not be made.
    HWND hwnd() const { return window_.get(); }
    // Why the window could not be made; 0 once it has been.
    DWORD creationError() const { return creationError_; }

protected:
    // Makes the window, hidden; `className` is registered on first use.
    // False, with creationError() set, when either fails.
    bool create(const wchar_t* className, const wchar_t* caption, DWORD style, HICON icon,
                HBRUSH background, HWND owner = nullptr);

    // Destroys the window, if it is still there, without its handlers. A
    // derived window calls it first in its destructor, so that its controls
    // go before the fonts and brushes they draw with.
    void destroy();

    // A message of the window; nullopt leaves it to the dialog manager.
    virtual std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Runs a handler of a control. A close asked meanwhile is carried out
    // once the outermost handler has returned.
    void runHandler(const std::function<void()>& handler);
    // Destroys the window now, or after the running handler.
    void close();

    // Moves the focus to `control` and makes it the button that Enter presses.
    void focusControl(HWND control);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    win32::UniqueWindow window_;
    DWORD creationError_ = 0;
    CloseWhenIdle closeWhenIdle_;
};

// The program's icon from its resources, at the system's size for `metric`
// (SM_CXICON or SM_CXSMICON); shared, so it is never destroyed.
HICON programIcon(int metric = SM_CXICON);

} // namespace marlo
