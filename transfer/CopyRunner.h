#pragma once

#include "FileSystem.h"
#include "Result.h"

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

namespace marlo {

// A copy made ready on the window's thread to run on another. It touches no
// window, so the window may close while it runs.
using CopyTask = std::function<Status(const CopyProgress& progress)>;

// What a runner runs: the copy, and its two ends as the progress line names
// them.
struct NamedCopy {
    std::string sourceName, destinationName;
    CopyTask task;
};

// Runs the one confirmed copy of an export or an import. The program's
// ProgressCopyRunner copies off the window's thread and shows a modal
// progress dialog with Cancel when the copy lasts; a cancelled copy fails
// like any other without touching the destination, so the commands need not
// know which runner they have.
class CopyRunner {
public:
    virtual ~CopyRunner() = default;

    // Runs the copy's task to its end; a runner that answers success has run
    // it.
    virtual Status run(const NamedCopy& copy) = 0;

    // Runs `work`, which takes the progress hook and answers a Status or a
    // Result, and answers what it answered, or why it did not run to its end.
    // The task owns what it writes to, so that one a runner gives up on may
    // still return.
    template <class Work>
    std::invoke_result_t<Work&, const CopyProgress&> copy(std::string sourceName,
                                                          std::string destinationName, Work work)
    {
        using Answer = std::invoke_result_t<Work&, const CopyProgress&>;
        // Written by the task, read once the runner has ended it.
        const auto answer = std::make_shared<std::optional<Answer>>();
        const Status ran = run({std::move(sourceName), std::move(destinationName),
                                [answer, work = std::move(work)](const CopyProgress& progress) {
                                    answer->emplace(work(progress));
                                    return statusOf(**answer);
                                }});
        if (!ran)
            return ran;
        if (!*answer)
            throw std::logic_error("the copy runner did not run its copy");
        return std::move(**answer);
    }

private:
    static Status statusOf(const Status& status) { return status; }
    template <class T> static Status statusOf(const Result<T>& result) { return result.status(); }
};

// Copies straight through the file layer on the window's thread.
class DirectCopy : public CopyRunner {
public:
    Status run(const NamedCopy& copy) override { return copy.task({}); }
};

} // namespace marlo
