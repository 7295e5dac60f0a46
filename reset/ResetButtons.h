#pragma once

#include "Platform.h"
#include "ResetSequence.h"

namespace marlo {

// The handlers of the reset window's two buttons, the same in every
// toolkit's window.
class ResetButtons {
public:
    ResetButtons(Platform platform, ResetView& view)
        : platform_(platform), sequence_(platform, view)
    {
    }

    // "RESET NOW !": runs the reset sequence.
    void resetNow();
    // "Cancel": starts the main program and closes the window.
    void cancel();

    const ResetSequence& sequence() const { return sequence_; }

private:
    Platform platform_;
    ResetSequence sequence_;
};

} // namespace marlo
