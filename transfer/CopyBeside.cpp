#include "CopyBeside.h"

#include "ProgressTexts.h"

#include <cstdint>
#include <thread>

namespace marlo {

Status copyBesideWindow(FileSystem& files, const std::string& source,
                        const std::string& destination, const CopyTask& task, const CopyWork& work,
                        std::chrono::milliseconds quietFor, const ShowUntilEnded& show)
{
    const std::string copying = progress::copyingLine(progress::shownName(source, files),
                                                      progress::shownName(destination, files));
    // The worker gets its own copies of everything it uses but the job,
    // which outlives it: the thread is joined before the job goes.
    CopyJob job;
    {
        const std::jthread worker([&job, work, task] {
            job.end(work(task, [&job](std::uint64_t copied, std::uint64_t total) {
                return job.progress(copied, total);
            }));
        });
        if (!job.waitFor(quietFor))
            show(job, copying);
    }
    return job.result();
}

} // namespace marlo
