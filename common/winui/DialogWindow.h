#pragma once

#include "WinHandle.h"

#include "WinSystem.h"

#include <optional>

namespace marlo {

// A top-level window that the system's dialog manager looks after: Tab
// moves between the controls in their stacking order, Enter presses the
// focused button, access keys press theirs. Its class carries the dialog
// manager's extra bytes and falls back on its default procedure. The
// window is destroyed at the latest with its owner object.
class DialogWindow {
public:
    DialogWindow() = default;
    // Destroys the window, if it is still there, without its handlers:
    // those of the derived window are gone by then.
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Null once the window has been destroyed.
    HWND hwnd() const { return window_.get(); }

protected:
    // Makes the window, hidden; `className` is registered on first use.
    void create(const wchar_t* className, const wchar_t* caption, DWORD style, HICON icon,
                HBRUSH background, HWND owner = nullptr);

    // A message of the window; nullopt leaves it to the dialog manager.
    virtual std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Moves the focus to `control` and makes it the button that Enter presses.
    void focusControl(HWND control);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    win32::UniqueWindow window_;
};

// The program's icon from its resources, at the system's size for `metric`
// (SM_CXICON or SM_CXSMICON); shared, so it is never destroyed.
HICON programIcon(int metric = SM_CXICON);

} // namespace marlo
