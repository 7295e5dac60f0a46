#include "ProgressWindow.h"

#include "MessageBox.h"
#include "MessagePump.h"
#include "ProgressPresenter.h"
#include "ProgressWindowDesign.h"
#include "SessionEndSteps.h"
#include "WinText.h"

#include <commctrl.h>

#include <chrono>

namespace marlo {

namespace {

namespace design = progresswindow;

// Posted by the copy's worker as the copy ends.
constexpr UINT CopyEnded = WM_APP + 1;

// How long the end of the session waits for a cancelled copy's worker: the
// system ends a program that keeps it waiting a few seconds longer.
constexpr std::chrono::seconds SessionEndPatience{4};

} // namespace

ProgressWindow::ProgressWindow(HWND owner, const std::string& copying,
                               const TaskbarProgressMaker& taskbar)
{
    if (owner && IsWindow(owner) && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        disabledOwner_.reset(owner);
    }
    // No minimize box: a hidden modal window would leave the owner dead.
    if (!create({L"MarloCopyProgress", MessageTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                 reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), design::Width, design::Height, owner,
                 false}))
        return;
    TwipLayout& layout = this->layout();
    const int font = layout.addFont({L"Arial", design::FontPoints, FW_NORMAL});
    layout.addControl(WC_STATICW, win32::widen(copying).c_str(),
                      WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, design::NameBox, 100,
                      font);
    // A blank holds its line until the first figures.
    bytes_ = layout.addControl(WC_STATICW, L" ", WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                               design::BytesBox, 101, font);
    // Busy until the copy tells its size.
    bar_ = layout.addControl(PROGRESS_CLASSW, L"", WS_VISIBLE | PBS_MARQUEE, design::BarBox, 102,
                             font);
    SendMessageW(bar_, PBM_SETMARQUEE, TRUE, 30);
    cancel_ = layout.addControl(WC_BUTTONW, win32::widen(design::CancelCaption).c_str(),
                                WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, design::CancelBox,
                                IDCANCEL, font);

    sizeAndCentre();
    // Over the middle of its owner rather than of the screen.
    RECT over{}, self{};
    if (owner && GetWindowRect(owner, &over) && GetWindowRect(hwnd(), &self)) {
        const int width = self.right - self.left, height = self.bottom - self.top;
        SetWindowPos(hwnd(), nullptr, (over.left + over.right - width) / 2,
                     (over.top + over.bottom - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    // The window, owned, has no button of its own.
    if (owner && taskbar) {
        taskbar_ = taskbar(GetAncestor(owner, GA_ROOTOWNER));
        if (taskbar_)
            taskbar_->busy();
    }
    // The focus on Cancel without making it the default button: Enter,
    // easily pressed in passing, must not throw away a long copy.
    SetFocus(cancel_);
}

ProgressWindow::~ProgressWindow()
{
    taskbar_.reset();
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
    if (taskbar_)
        taskbar_->at(position, BarSteps);
}

void ProgressWindow::disableCancel()
{
    EnableWindow(cancel_, FALSE);
}

void ProgressWindow::clicked(int id)
{
    // Cancel and Escape both arrive as IDCANCEL; Enter as IDOK does nothing.
    if (id == IDCANCEL && askCancel_)
        askCancel_();
}

void ProgressWindow::closeAsked()
{
    if (askCancel_)
        askCancel_();
}

ShowUntilEnded showInProgressWindow(HWND owner, TaskbarProgressMaker taskbar)
{
    return [owner, taskbar = std::move(taskbar)](CopyJob& job, const std::string& copying) {
        ProgressWindow window(owner, copying, taskbar);
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
        // The session ending meanwhile stops the copy and waits for its
        // worker, so that the staged copy is gone before the process is.
        const BeforeSessionEnd stopCopy([&job] {
            job.cancel();
            job.waitFor(SessionEndPatience);
        });
        job.whenEnded([shown] { PostMessageW(shown, CopyEnded, 0, 0); });
        const struct StopTelling {
            CopyJob& job;
            ~StopTelling() { job.whenEnded({}); }
        } stopTelling{job};
        // The figures are looked at on a timer. Without one they stand
        // still, but the copy's end still closes the window.
        const UINT_PTR poll =
            SetTimer(nullptr, 0, static_cast<UINT>(design::PollInterval.count()), nullptr);
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
