#include "ProgressCopyRunner.h"

#include "CopyBeside.h"
#include "ProgressDialog.h"

#include <QTimer>

#include <utility>

namespace marlo {

namespace {

constexpr std::chrono::milliseconds PollInterval{50};

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

// The dialog has no parent, so the window cannot delete it while it runs.
Status ProgressCopyRunner::run(FileSystem& files, const std::string& source,
                               const std::string& destination, const CopyTask& task)
{
    return copyBesideWindow(files, source, destination, task, copy_, quietFor_,
                            [this](CopyJob& job, const std::string& copying) {
                                showUntilEnded(job, QString::fromStdString(copying), window_);
                            });
}

Status ProgressCopyRunner::runTask(const CopyTask& task, const CopyProgress& progress)
{
    return task(progress);
}

} // namespace marlo
