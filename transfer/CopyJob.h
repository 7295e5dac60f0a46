#pragma once

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
        std::uint64_t copied = 0, total = 0;
    };

    // The worker's progress hook: keeps the figures and answers whether to go on.
    bool progress(std::uint64_t copied, std::uint64_t total)
    {
        const std::lock_guard lock(mutex_);
        seen_.reported = true;
        seen_.copied = copied;
        seen_.total = total;
        return !cancel_;
    }
    // False once the whole has been reported: the copy can no longer stop,
    // and the user must not be told that nothing will change.
    bool cancel()
    {
        const std::lock_guard lock(mutex_);
        if (seen_.reported && seen_.copied >= seen_.total)
            return false;
        cancel_ = true;
        return true;
    }
    void end(Status result)
    {
        {
            const std::lock_guard lock(mutex_);
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

private:
    std::mutex mutex_;
    std::condition_variable endedChanged_;
    Seen seen_;
    bool cancel_ = false;
    Status result_;
    std::function<void()> whenEnded_;
};

} // namespace marlo
