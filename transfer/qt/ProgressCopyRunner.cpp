#include "ProgressCopyRunner.h"

#include "Platform.h"
#include "ProgressDialog.h"
#include "ProgressTexts.h"

#include <QTimer>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>

namespace marlo {

namespace {

constexpr std::chrono::milliseconds PollInterval{50};

// What the window's thread and the worker share during one copy.
class CopyJob {
public:
    struct Seen {
        bool reported = false, ended = false;
        std::uint64_t copied = 0, total = 0;
    };

    // The worker's progress hook: keeps the figures and answers whether to go on.
    bool progress(std::uint64_t copied, std::uint64_t total)
    {
        const std::lock_guard lock(mutex_);
        seen_.reported = true;
        seen_.copied = copied;
        seen_.total = total;
        return !cancel_;
    }
    // False once the whole has been reported: the copy can no longer stop,
    // and the user must not be told that nothing will change.
    bool cancel()
    {
        const std::lock_guard lock(mutex_);
        if (seen_.reported && seen_.copied >= seen_.total)
            return false;
        cancel_ = true;
        return true;
    }
    void end(Status result)
    {
        {
            const std::lock_guard lock(mutex_);
            result_ = std::move(result);
            seen_.ended = true;
        }
        endedChanged_.notify_all();
    }

    // Blocks the calling thread, events and all; true when the copy ended.
    bool waitFor(std::chrono::milliseconds time)
    {
        std::unique_lock lock(mutex_);
        return endedChanged_.wait_for(lock, time, [this] { return seen_.ended; });
    }
    Seen seen()
    {
        const std::lock_guard lock(mutex_);
        return seen_;
    }
    Status result()
    {
        const std::lock_guard lock(mutex_);
        return result_;
    }

private:
    std::mutex mutex_;
    std::condition_variable endedChanged_;
    Seen seen_;
    bool cancel_ = false;
    Status result_;
};

// Runs the dialog until the copy has ended.
void showUntilEnded(CopyJob& job, const QString& copying, QWidget* window)
{
    ProgressDialog dialog(copying, window);
    QTimer poll;
    poll.setInterval(PollInterval);
    const auto look = [&] {
        const CopyJob::Seen seen = job.seen();
        if (seen.reported)
            dialog.showProgress(seen.copied, seen.total);
        if (seen.ended)
            dialog.finish();
    };
    QObject::connect(&dialog, &ProgressDialog::cancelRequested, [&] {
        if (job.cancel())
            dialog.showCancelling();
        else
            look();
    });
    QObject::connect(&poll, &QTimer::timeout, &dialog, look);
    look();
    poll.start();
    dialog.exec();
    // Anything but the copy's end that closed the dialog (the application
    // quitting) stops the copy, so that the join which follows is short.
    if (!job.seen().ended)
        job.cancel();
}

} // namespace

ProgressCopyRunner::ProgressCopyRunner(QWidget* window, Copy copy,
                                       std::chrono::milliseconds quietFor)
    : window_(window), copy_(std::move(copy)), quietFor_(quietFor)
{
}

// The worker gets its own copies of everything it uses but the job, which
// outlives it: the thread is joined before the job goes. The task touches
// neither the platform nor a widget, so a window closed meanwhile takes
// nothing away from it; the dialog has no parent, so the window cannot
// delete it. The copy overwrites, as the commands always ask.
Status ProgressCopyRunner::copy(Platform& platform, const std::string& source,
                                const std::string& destination)
{
    const std::string folder = platform.ApplicationFolder();
    CopyJob job;
    {
        const std::jthread worker(
            [&job, copy = copy_, task = platform.PrepareCopy(source, destination, true)] {
                job.end(copy(task, [&job](std::uint64_t copied, std::uint64_t total) {
                    return job.progress(copied, total);
                }));
            });
        if (!job.waitFor(quietFor_)) {
            const std::string copying = progress::copyingLine(
                progress::shownName(source, folder), progress::shownName(destination, folder));
            showUntilEnded(job, QString::fromStdString(copying), window_);
        }
    }
    return job.result();
}

Status ProgressCopyRunner::runTask(const CopyTask& task, const CopyProgress& progress)
{
    return task(progress);
}

} // namespace marlo
