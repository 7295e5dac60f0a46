#include "ProgressCopyRunner.h"

#include "MessagePump.h"
#include "ProgressWindow.h"

#include <functional>
#include <utility>

namespace marlo {

namespace {

constexpr UINT PollInterval = 50; // ms

// Runs the progress window, modal over `owner`, until the copy has ended.
void showUntilEnded(CopyJob& job, const std::string& copying, HWND owner)
{
    const bool ownerWasEnabled = owner && IsWindow(owner) && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    {
        bool ended = false;
        std::function<void()> look;
        ProgressWindow window(owner, copying, [&] {
            if (job.cancel())
                window.showCancelling();
            else
                look();
        });
        look = [&] {
            const CopyJob::Seen seen = job.seen();
            if (seen.reported)
                window.showProgress(seen.copied, seen.total);
            ended = seen.ended;
        };
        const UINT_PTR poll = SetTimer(nullptr, 0, PollInterval, nullptr);
        look();
        MSG message;
        while (!ended) {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got <= 0) {
                // The program is to end: kept for its own loop, and the copy
                // stops, so that waiting for it is short.
                if (got == 0)
                    PostQuitMessage(static_cast<int>(message.wParam));
                job.cancel();
                break;
            }
            if (message.message == WM_TIMER && !message.hwnd && message.wParam == poll)
                look();
            else
                dispatchMessage(message);
        }
        KillTimer(nullptr, poll);
        // The owner takes its input back before the window goes, so that
        // it, not another program, becomes the active window again.
        if (ownerWasEnabled)
            EnableWindow(owner, TRUE);
    }
}

} // namespace

ProgressCopyRunner::ProgressCopyRunner(HWND window, CopyWork work,
                                       std::chrono::milliseconds quietFor)
    : window_(window), work_(std::move(work)), quietFor_(quietFor)
{
}

Status ProgressCopyRunner::run(FileSystem& files, const std::string& source,
                               const std::string& destination, const CopyTask& task)
{
    return copyBesideWindow(files, source, destination, task, work_, quietFor_,
                            [this](CopyJob& job, const std::string& copying) {
                                showUntilEnded(job, copying, window_);
                            });
}

Status ProgressCopyRunner::runTask(const CopyTask& task, const CopyProgress& progress)
{
    return task(progress);
}

} // namespace marlo
