#pragma once

#include "DialogWindow.h"
#include "WinHandle.h"

#include <cstdint>
#include <functional>
#include <string>

namespace marlo {

// The modal window of a long copy: what is copied, how far it has come,
// and Cancel. Cancel, Escape and the close box ask the copy to stop; only
// the copy's end closes the window.
class ProgressWindow : public DialogWindow {
public:
    // `copying` names the copy; the window stands over `owner`, which takes
    // no input while it is open. `askCancel` is called for every request to
    // stop while Cancel is enabled.
    ProgressWindow(HWND owner, const std::string& copying, std::function<void()> askCancel);

    // Once the whole is copied only the final sync and rename remain, which
    // cannot be cancelled: Cancel greys out.
    void showProgress(std::uint64_t copied, std::uint64_t total);
    // The copy will stop: Cancel greys out and the window says so.
    void showCancelling();

protected:
    std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void requestCancel();

    std::function<void()> askCancel_;
    win32::UniqueFont font_;
    HWND bytes_ = nullptr;
    HWND bar_ = nullptr;
    HWND cancel_ = nullptr;
    bool cancelling_ = false;
};

} // namespace marlo
