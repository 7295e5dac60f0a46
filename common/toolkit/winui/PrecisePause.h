#pragma once

#include "WinHandle.h"

namespace marlo {

// Blocks the calling thread for a number of milliseconds, to within about
// one. A plain Sleep lasts until the system's next timer tick, 15.6 ms apart
// by default, so a pause of 50 ms would last about 62 and the reset would
// run a fifth over its pacing. Nothing of the thread runs meanwhile: its
// windows neither repaint nor react. One thread pauses on it at a time (the
// window's): a second would restart the other's timer.
class PrecisePause {
public:
    void operator()(int milliseconds) const;

private:
    // Made at the first pause: a program start needs none.
    void makeTimer() const;

    mutable win32::UniqueHandle timer_;
    mutable bool made_ = false;
    // The system has no high-resolution timers (before Windows 10 1803): the
    // tick is made finer for the length of each wait instead.
    mutable bool coarseTimer_ = false;
};

} // namespace marlo
