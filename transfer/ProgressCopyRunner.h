#pragma once

#include "CopyRunner.h"
#include "FileSystem.h"

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
// copy, which then fails with CopyCancelled and leaves the destination as it
// was.
class ProgressCopyRunner : public CopyRunner {
public:
    // The copy the worker runs: the paths as the commands pass them, the
    // application folder as read on the window's thread, and the progress
    // hook to call as it goes. Tests slow it down through this.
    using Copy =
        std::function<Status(const std::string& applicationFolder, const std::string& source,
                             const std::string& destination, const CopyProgress& progress)>;

    static constexpr std::chrono::milliseconds DefaultQuietTime{500};

    // The dialog stands over `window`.
    explicit ProgressCopyRunner(QWidget* window, Copy copy = copyOnHost,
                                std::chrono::milliseconds quietFor = DefaultQuietTime);

    Status copy(Platform& platform, const std::string& source,
                const std::string& destination) override;

    // The host's crash-safe copy, with overwrite as the commands always ask.
    static Status copyOnHost(const std::string& applicationFolder, const std::string& source,
                             const std::string& destination, const CopyProgress& progress);

private:
    QPointer<QWidget> window_;
    Copy copy_;
    std::chrono::milliseconds quietFor_;
};

} // namespace marlo
