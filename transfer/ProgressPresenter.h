#pragma once

#include "CopyJob.h"
#include "ProgressView.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace marlo {

// What a progress window shows of a long copy, and what its Cancel does,
// for every toolkit. The toolkit's window calls look() on a timer and
// requestCancel() for Cancel, Escape and the close box, and runs its events
// until ended().
class ProgressPresenter {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // A copy that reports nothing for this long waits for its drive; once
    // cancelled, it is not waited for any longer.
    static constexpr std::chrono::seconds StallTime{10};

    ProgressPresenter(
        CopyJob& job, ProgressView& view,
        Clock now = [] { return std::chrono::steady_clock::now(); });
    // A showing that ends before the copy (the program is to end) stops the
    // copy, so that waiting for the worker is short.
    ~ProgressPresenter();
    ProgressPresenter(const ProgressPresenter&) = delete;
    ProgressPresenter& operator=(const ProgressPresenter&) = delete;

    // Shows the latest figures; once the copy has ended, finishes the view.
    void look();
    // Asks the copy to stop while Cancel is enabled.
    void requestCancel();
    bool ended() const { return ended_; }

private:
    void showStep(const CopyStep& step);
    bool stalled() const;
    void abandonIfStalled();
    void disableCancel();

    CopyJob& job_;
    ProgressView& view_;
    Clock now_;
    std::uint64_t reports_ = 0;
    std::chrono::steady_clock::time_point lastReport_;
    bool cancelEnabled_ = true;
    bool cancelling_ = false;
    bool waitingShown_ = false;
    bool ended_ = false;
};

} // namespace marlo
