#pragma once

#include "FileSystem.h"
#include "Result.h"

#include <memory>
#include <string>

namespace marlo {

// Runs the one confirmed copy of an export or an import. The program's
// ProgressCopyRunner copies off the window's thread and shows a modal
// progress dialog with Cancel when the copy lasts; a cancelled copy fails
// like any other without touching the destination, so the commands need not
// know which runner they have.
class CopyRunner {
public:
    virtual ~CopyRunner() = default;

    // Runs `task`, the copy of `source` to `destination`, to its end.
    virtual Status run(FileSystem& files, const std::string& source, const std::string& destination,
                       const CopyTask& task) = 0;

    // A whole overwriting copy.
    Status copy(FileSystem& files, const std::string& source, const std::string& destination)
    {
        return run(files, source, destination, files.PrepareCopy(source, destination, true));
    }

    // The copy written beside the destination and left there, for the caller
    // to put in place once it has made room for it.
    Result<std::unique_ptr<StagedCopy>> stage(FileSystem& files, const std::string& source,
                                              const std::string& destination)
    {
        // Filled on the thread that runs the task, read once it has ended.
        auto staged = std::make_shared<std::unique_ptr<StagedCopy>>();
        const CopyTask task = [work = files.PrepareStagedCopy(source, destination),
                               staged](const CopyProgress& progress) {
            auto done = work(progress);
            if (!done)
                return done.status();
            *staged = std::move(done.value());
            return Status();
        };
        if (Status ran = run(files, source, destination, task); !ran)
            return ran;
        return std::move(*staged);
    }
};

// Copies straight through the file layer on the window's thread.
class DirectCopy : public CopyRunner {
public:
    Status run(FileSystem&, const std::string&, const std::string&, const CopyTask& task) override
    {
        return task({});
    }
};

} // namespace marlo
