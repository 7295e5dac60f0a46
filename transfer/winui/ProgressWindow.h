#pragma once

#include "DialogWindow.h"
#include "ProgressCopyRunner.h"
#include "ProgressView.h"
#include "TaskbarProgress.h"
#include "WinHandle.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace marlo {

// The modal window of a long copy: what is copied, how far it has come,
// and Cancel. Cancel, Escape and the close box ask the copy to stop; Enter
// does nothing; only the copy's end closes the window. Its owner's taskbar
// button shows the bar too, while the window stands.
class ProgressWindow : public DialogWindow, public ProgressView {
public:
    // `copying` names the copy; the window stands over `owner`, which takes
    // no input while it is open.
    ProgressWindow(HWND owner, const std::string& copying,
                   const TaskbarProgressMaker& taskbar = systemTaskbarProgress);
    // The owner takes its input back, then the window and its controls go,
    // before their font.
    ~ProgressWindow() override;

    // `askCancel` is called for Cancel, Escape and the close box.
    void whenCancelAsked(std::function<void()> askCancel) { askCancel_ = std::move(askCancel); }

    void setBytesLine(const std::string& line) override;
    void setBarPosition(int position) override;
    void disableCancel() override;
    // The owner takes its input back before the window goes, so that it,
    // not another program, becomes the active window again.
    void finish() override
    {
        taskbar_.reset();
        disabledOwner_.reset();
    }

protected:
    void clicked(int id) override;
    void closeAsked() override;

private:
    // The owner, kept from input while the window stands over it.
    struct GiveInputBack {
        using Handle = HWND;
        static bool valid(HWND owner) { return owner != nullptr; }
        static bool release(HWND owner)
        {
            EnableWindow(owner, TRUE);
            return true;
        }
    };
    win32::UniqueOf<GiveInputBack> disabledOwner_;
    std::unique_ptr<TaskbarProgress> taskbar_;
    std::function<void()> askCancel_;
    HWND bytes_ = nullptr;
    HWND bar_ = nullptr;
    HWND cancel_ = nullptr;
};

// Shows a long copy in a ProgressWindow, modal over `owner`, until it has
// ended.
ShowUntilEnded showInProgressWindow(HWND owner,
                                    TaskbarProgressMaker taskbar = systemTaskbarProgress);

} // namespace marlo
