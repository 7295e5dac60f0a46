#pragma once

#include "CopyJob.h"
#include "CopyRunner.h"

#include <chrono>
#include <functional>
#include <string>

namespace marlo {

// How a worker runs the copy that the file layer made ready, with the
// progress hook to call as it goes. Tests slow it down through this.
using CopyWork = std::function<Status(const CopyTask& task, const CopyProgress& progress)>;

// Shows a long copy until it has ended: given the job and the line that
// names the copy, runs on the window's thread and returns once the job has
// ended. Anything else that makes it return must cancel the job first. Each
// toolkit makes one for its progress window.
using ShowUntilEnded = std::function<void(CopyJob& job, const std::string& copying)>;

// Runs a confirmed copy on a worker thread, so that a long copy does not
// freeze the window. The window's thread first waits for the worker without
// running any event; a copy that ends within `quietFor` shows nothing. A
// longer one is shown by `show` until it ends; its Cancel stops the copy,
// which then fails as cancelled and leaves the destination as it was. A
// cancelled worker stuck in the drive is left to return on its own.
class ProgressCopyRunner : public CopyRunner {
public:
    static constexpr std::chrono::milliseconds DefaultQuietTime{500};

    explicit ProgressCopyRunner(ShowUntilEnded show, CopyWork work = runTask,
                                std::chrono::milliseconds quietFor = DefaultQuietTime);

    Status run(const NamedCopy& copy) override;

    // Runs the task as it is.
    static Status runTask(const CopyTask& task, const CopyProgress& progress);

private:
    ShowUntilEnded show_;
    CopyWork work_;
    std::chrono::milliseconds quietFor_;
};

} // namespace marlo
