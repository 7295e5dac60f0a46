#include "ProgressCopyRunner.h"

#include "ProgressTexts.h"

#include <cstdint>
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
    // The worker gets its own copies of everything it uses but the job,
    // which outlives it: the thread is joined before the job goes.
    CopyJob job;
    {
        const std::jthread worker([&job, work = work_, task = copy.task] {
            job.end(work(task, [&job](std::uint64_t copied, std::uint64_t total) {
                return job.progress(copied, total);
            }));
        });
        if (!job.waitFor(quietFor_))
            show_(job, copying);
    }
    return job.result();
}

Status ProgressCopyRunner::runTask(const CopyTask& task, const CopyProgress& progress)
{
    return task(progress);
}

} // namespace marlo
