#pragma once

#include "DialogWindow.h"
#include "ResetButtons.h"
#include "TwipLayout.h"
#include "WindowColours.h"

#include <optional>

namespace marlo {

class FileSystem;
class WinWindowSystem;

// The reset tool's one window. It warns that both databases are about to be
// reset; "RESET NOW !" runs the reset sequence inside it, "Cancel" starts the
// main program and closes it. Every window call goes through `windows`,
// which also learns the window's controls by name.
class DialogResetMem : public DialogWindow {
public:
    // Builds the window, hidden, in its warning state and beeps once, as it
    // loads.
    DialogResetMem(FileSystem& files, WinWindowSystem& windows);
    // The window and its controls go before their fonts and brush.
    ~DialogResetMem() override;

    // Shows the window in the middle of the screen, the focus on "RESET NOW !".
    void show();

    const ResetSequence& sequence() const { return buttons_.sequence(); }

protected:
    std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void buildControls();
    void resetNowClicked();
    void cancelClicked();

    WinWindowSystem& windows_;
    ResetButtons buttons_;
    ThemedColours colours_;
    // Made with the window; its fonts outlive the controls' use of them.
    std::optional<TwipLayout> layout_;
    HWND resetNow_ = nullptr;
};

} // namespace marlo
