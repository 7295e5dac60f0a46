#pragma once

#include "CopyJob.h"
#include "FileSystem.h"

#include <chrono>
#include <functional>
#include <string>

namespace marlo {

// How a worker runs the copy that the file layer made ready, with the
// progress hook to call as it goes. Tests slow it down through this.
using CopyWork = std::function<Status(const CopyTask& task, const CopyProgress& progress)>;

// Shows a long copy until it has ended: given the job and the line that
// names the copy, runs on the window's thread and returns once the job has
// ended. Anything else that makes it return must cancel the job first.
using ShowUntilEnded = std::function<void(CopyJob& job, const std::string& copying)>;

// Runs one overwriting copy on a worker thread. The window's thread first
// waits for it without running any event; a copy that ends within
// `quietFor` shows nothing, a longer one is shown by `show`. The task
// touches no window, so a window closed meanwhile
// takes nothing away from it.
Status copyBesideWindow(FileSystem& files, const std::string& source,
                        const std::string& destination, const CopyTask& task, const CopyWork& work,
                        std::chrono::milliseconds quietFor, const ShowUntilEnded& show);

} // namespace marlo
