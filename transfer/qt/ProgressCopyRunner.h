#pragma once

#include "CopyBeside.h"
#include "CopyRunner.h"

#include <QPointer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <string>

namespace marlo {

// Runs a confirmed copy on a worker thread, so that a long copy does not
// freeze the window. The window's thread first waits for the worker without
// running any event; a copy that ends within `quietFor` shows nothing. A
// longer one shows a modal ProgressDialog until it ends; its Cancel stops the
// copy, which then ends cancelled and leaves the destination as it was.
class ProgressCopyRunner : public CopyRunner {
public:
    using Copy = CopyWork;

    static constexpr std::chrono::milliseconds DefaultQuietTime{500};

    // The dialog stands over `window`.
    explicit ProgressCopyRunner(QWidget* window, Copy copy = runTask,
                                std::chrono::milliseconds quietFor = DefaultQuietTime);

    Status run(FileSystem& files, const std::string& source, const std::string& destination,
               const CopyTask& task) override;

    // Runs the task as it is.
    static Status runTask(const CopyTask& task, const CopyProgress& progress);

private:
    QPointer<QWidget> window_;
    Copy copy_;
    std::chrono::milliseconds quietFor_;
};

} // namespace marlo
