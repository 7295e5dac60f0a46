#pragma once

#include "CopyJob.h"
#include "ProgressView.h"

#include <cstdint>

namespace marlo {

// What a progress window shows of a long copy, and what its Cancel does,
// for every toolkit. The toolkit's window calls look() on a timer and
// requestCancel() for Cancel, Escape and the close box, and runs its events
// until ended().
class ProgressPresenter {
public:
    ProgressPresenter(CopyJob& job, ProgressView& view);
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
    void showFigures(std::uint64_t copied, std::uint64_t total);
    void disableCancel();

    CopyJob& job_;
    ProgressView& view_;
    bool cancelEnabled_ = true;
    bool cancelling_ = false;
    bool ended_ = false;
};

} // namespace marlo
