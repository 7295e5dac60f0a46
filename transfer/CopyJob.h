#pragma once

#include "FileSystem.h"
#include "Result.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <utility>

namespace marlo {

// What the window's thread and the worker share during one long copy: how
// far it has come, whether the user asked it to stop, and how it ended.
class CopyJob {
public:
    struct Seen {
        bool reported = false, ended = false;
        CopyStep step;
        // Counts the reports, so that a worker that reports nothing new for a
        // while can be told from one that works on.
        std::uint64_t reports = 0;
    };

    // The worker's progress hook: keeps the step and answers whether to go on.
    bool progress(const CopyStep& step)
    {
        const std::lock_guard lock(mutex_);
        seen_.reported = true;
        seen_.step = step;
        ++seen_.reports;
        return !cancel_;
    }
    // False once the copy is finishing: it can no longer stop, and the user
    // must not be told that nothing will change.
    bool cancel()
    {
        const std::lock_guard lock(mutex_);
        if (seen_.reported && seen_.step.phase == CopyStep::Phase::Finishing)
            return false;
        cancel_ = true;
        return true;
    }
    // Stops waiting for a cancelled copy whose worker is stuck (a read on a
    // dead drive): the job counts as ended, and whatever the worker answers
    // later is dropped; its runner answers that the copy was cancelled. The
    // worker is refused at its next report, so it changes nothing but its own
    // staged copy. False where the copy has ended or was never cancelled.
    bool abandon()
    {
        {
            const std::lock_guard lock(mutex_);
            if (seen_.ended || !cancel_)
                return false;
            abandoned_ = true;
            seen_.ended = true;
        }
        endedChanged_.notify_all();
        return true;
    }
    void end(Status result)
    {
        {
            const std::lock_guard lock(mutex_);
            if (abandoned_)
                return;
            result_ = std::move(result);
            seen_.ended = true;
            if (whenEnded_)
                whenEnded_();
        }
        endedChanged_.notify_all();
    }

    // `tell` is called as the copy ends, on the worker's thread and under
    // the job's lock, so it must only pass the word on (post a message);
    // at once when the copy has ended already. An empty one stops the
    // telling: none comes after it has returned.
    void whenEnded(std::function<void()> tell)
    {
        const std::lock_guard lock(mutex_);
        whenEnded_ = std::move(tell);
        if (seen_.ended && whenEnded_)
            whenEnded_();
    }

    // Blocks the calling thread, events and all; true when the copy ended.
    bool waitFor(std::chrono::milliseconds time)
    {
        std::unique_lock lock(mutex_);
        return endedChanged_.wait_for(lock, time, [this] { return seen_.ended; });
    }
    Seen seen()
    {
        const std::lock_guard lock(mutex_);
        return seen_;
    }
    Status result()
    {
        const std::lock_guard lock(mutex_);
        return result_;
    }
    bool abandoned()
    {
        const std::lock_guard lock(mutex_);
        return abandoned_;
    }

private:
    std::mutex mutex_;
    std::condition_variable endedChanged_;
    Seen seen_;
    bool cancel_ = false;
    bool abandoned_ = false;
    Status result_;
    std::function<void()> whenEnded_;
};

} // namespace marlo
