#pragma once

#include <algorithm>
#include <chrono>
#include <thread>

namespace marlo {

// A virus scanner, an indexer or a sync client opens a file for a moment,
// only to read it, and lets others in meanwhile. Such a hold is waited out
// for this long before the file counts as in use, and a file call that such a
// holder refused is tried again within the same bound.
inline constexpr std::chrono::milliseconds BriefHoldPatience{2000};

// Calls `attempt` until it answers true or `patience` has passed; the pauses
// between tries grow from 1 ms to 50 ms, so a short hold costs little and a
// long one few tries. Answers what the last try answered.
template <class Attempt>
bool retryWithin(std::chrono::milliseconds patience, const Attempt& attempt)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + patience;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (attempt())
            return true;
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

} // namespace marlo
