#pragma once

#include "CloseWhenIdle.h"
#include "TwipLayout.h"
#include "WinHandle.h"

#include "WinSystem.h"

#include <functional>
#include <optional>

namespace marlo {

// A top-level window that the system's dialog manager looks after: Tab
// moves between the controls in their stacking order, Enter presses the
// focused button, access keys press theirs. Its class carries the dialog
// manager's extra bytes and falls back on its default procedure. Its
// controls stand at their design boxes at the scale of its monitor. The
// window is destroyed at the latest with its owner object.
//
// A close asked while one of its handlers runs waits for that handler's
// end (CloseWhenIdle); so does the end of the session, which the window
// refuses meanwhile: cancelled, it leaves the window open; carried out all
// the same, it ends the process once the files are safe (endWithSession).
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

    // Shows the window where create() placed it, the focus on the control
    // it starts with.
    void show();

protected:
    // What a window is made with.
    struct Frame {
        const wchar_t* className; // registered on first use
        const char* caption;
        DWORD style;
        HBRUSH background;
        // The client area as designed, in twips.
        int clientWidth, clientHeight;
        HWND owner = nullptr;
        // Whether the window's end ends the program's message loop.
        bool endsProgram = true;
    };

    // Makes the window, hidden, and the layout of its controls; false, with
    // creationError() set, when either fails. The window then adds its
    // controls through layout() and calls sizeAndCentre().
    bool create(const Frame& frame);
    TwipLayout& layout() { return *layout_; }
    // The designed client size, in the middle of the monitor's work area.
    void sizeAndCentre() { layout_->sizeAndCentre(); }
    // The control that has the focus when the window shows.
    void startFocus(HWND control) { startFocus_ = control; }
    // Makes the design's push buttons in tab order, numbered from `firstId`,
    // in font number `font`; the first has the focus when the window shows.
    // Answers the first.
    template <class ButtonDesigns>
    HWND addButtons(const ButtonDesigns& buttons, int firstId, int font)
    {
        HWND first = nullptr;
        for (const auto& button : buttons) {
            HWND control = addButton(button.caption, button.box, firstId++, font);
            if (!first)
                first = control;
        }
        startFocus(first);
        return first;
    }

    // Destroys the window, if it is still there, without its handlers. A
    // derived window that owns brushes calls it first in its destructor, so
    // that its controls go before what they draw with.
    void destroy();

    // A message that is the window's own; nullopt leaves it to the common
    // handling and then to the dialog manager.
    virtual std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam);
    // A click of the control `id`, run as a handler. Enter and Escape for
    // the whole window arrive as IDOK and IDCANCEL.
    virtual void clicked(int id);
    // The close box: the window closes now or after the running handler.
    virtual void closeAsked() { close(); }

    // Runs a handler of a control. A close asked meanwhile is carried out
    // once the outermost handler has returned.
    void runHandler(const std::function<void()>& handler);
    // Destroys the window now, or after the running handler.
    void close();

    // Moves the focus to `control` and makes it the button that Enter presses.
    void focusControl(HWND control);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> handleCommon(UINT message, WPARAM wParam, LPARAM lParam);
    HWND addButton(const char* caption, const TwipBox& box, int id, int font);

    win32::UniqueWindow window_;
    DWORD creationError_ = 0;
    bool endsProgram_ = true;
    CloseWhenIdle closeWhenIdle_;
    // Made with the window; its fonts outlive the controls' use of them.
    std::optional<TwipLayout> layout_;
    HWND startFocus_ = nullptr;
};

// The program's icon from its resources, at the system's size for `metric`
// (SM_CXICON or SM_CXSMICON); shared, so it is never destroyed.
HICON programIcon(int metric = SM_CXICON);

} // namespace marlo
