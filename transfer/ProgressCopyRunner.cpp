#include "ProgressCopyRunner.h"

#include "ProgressPresenter.h"
#include "ProgressTexts.h"

#include <memory>
#include <thread>
#include <utility>

namespace marlo {

ProgressCopyRunner::ProgressCopyRunner(ShowUntilEnded show, CopyWork work,
                                       std::chrono::milliseconds quietFor)
    : show_(std::move(show)), work_(std::move(work)), quietFor_(quietFor)
{
}

// The task touches no window, so a window closed meanwhile takes nothing
// away from it.
Status ProgressCopyRunner::run(const NamedCopy& copy)
{
    const std::string copying = progress::copyingLine(copy.sourceName, copy.destinationName);
    // The worker shares the job and has its own copies of everything else it
    // uses, so that one given up on may return long after this has.
    const auto job = std::make_shared<CopyJob>();
    std::thread worker([job, work = work_, task = copy.task] {
        job->end(work(task, [&job](const CopyStep& step) { return job->progress(step); }));
    });
    if (!job->waitFor(quietFor_))
        show_(*job, copying);
    // A showing that closed before the copy's end cancelled it; a worker
    // that does not come back from the drive is not waited for.
    if (!job->waitFor(ProgressPresenter::StallTime))
        job->abandon();
    if (job->abandoned()) {
        worker.detach();
        return copyCancelled();
    }
    worker.join();
    return job->result();
}

Status ProgressCopyRunner::runTask(const CopyTask& task, const CopyProgress& progress)
{
    return task(progress);
}

} // namespace marlo
