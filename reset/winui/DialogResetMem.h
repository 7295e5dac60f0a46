#pragma once

#include "DialogWindow.h"
#include "Platform.h"
#include "ResetButtons.h"
#include "ResetView.h"
#include "WindowColours.h"

#include <optional>

namespace marlo {

// The reset tool's one window. It warns that both databases are about to be
// reset; "RESET NOW !" runs the reset sequence inside it, "Cancel" starts the
// main program and closes it. Every platform call goes through `platform`.
class DialogResetMem : public DialogWindow, public ResetView {
public:
    // Builds the window, hidden, in its warning state in the middle of the
    // screen, and beeps once, as it loads.
    explicit DialogResetMem(Platform platform);
    // The window and its controls go before their brush.
    ~DialogResetMem() override;

    const ResetSequence& sequence() const { return buttons_.sequence(); }

    void showResetting() override;
    void setProgress(int position) override;
    void showBackupNotice() override;
    bool takeFocus() override;

protected:
    std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void clicked(int id) override;

private:
    void buildControls();

    Platform platform_;
    ResetButtons buttons_;
    ThemedColours colours_;
    HWND resetNow_ = nullptr;
    HWND warning_ = nullptr;
    HWND caution_ = nullptr;
    HWND resetting_ = nullptr;
    HWND backupNotice_ = nullptr;
    HWND bar_ = nullptr;
};

} // namespace marlo
