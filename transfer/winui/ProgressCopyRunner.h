#pragma once

#include "CopyBeside.h"
#include "CopyRunner.h"

#include "WinSystem.h"

#include <chrono>

namespace marlo {

// Runs a confirmed copy on a worker thread, so that a long copy does not
// freeze the window. A copy that ends within `quietFor` shows nothing; a
// longer one shows a modal ProgressWindow until it ends; its Cancel stops
// the copy, which then ends cancelled and leaves the destination as it was.
class ProgressCopyRunner : public CopyRunner {
public:
    static constexpr std::chrono::milliseconds DefaultQuietTime{500};

    // The progress window stands over `window`.
    explicit ProgressCopyRunner(HWND window, CopyWork work = runTask,
                                std::chrono::milliseconds quietFor = DefaultQuietTime);

    Status run(FileSystem& files, const std::string& source, const std::string& destination,
               const CopyTask& task) override;

    // Runs the task as it is.
    static Status runTask(const CopyTask& task, const CopyProgress& progress);

private:
    HWND window_;
    CopyWork work_;
    std::chrono::milliseconds quietFor_;
};

} // namespace marlo
