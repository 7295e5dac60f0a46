#include "PrecisePause.h"

#include "SystemDll.h"

#include <timeapi.h>

namespace marlo {

namespace {

// CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, which MinGW-w64's headers lack.
constexpr DWORD HighResolutionTimer = 0x00000002;

// A system timer tick of 1 ms while it lives, where the timer is coarse.
// Before Windows 10 2004 the tick is the whole system's, so it is asked for
// only around each wait. The multimedia DLL that sets it is loaded only on
// such systems, never at start.
class FinerTick {
public:
    explicit FinerTick(bool wanted)
    {
        if (!wanted)
            return;
        static const win32::SystemDll dll(L"winmm.dll");
        static auto* const begin = dll.find<decltype(::timeBeginPeriod)>("timeBeginPeriod");
        static auto* const end = dll.find<decltype(::timeEndPeriod)>("timeEndPeriod");
        if (begin && end && begin(1) == TIMERR_NOERROR)
            end_ = end;
    }
    FinerTick(const FinerTick&) = delete;
    FinerTick& operator=(const FinerTick&) = delete;
    ~FinerTick()
    {
        if (end_)
            end_(1);
    }

private:
    decltype(::timeEndPeriod)* end_ = nullptr;
};

} // namespace

void PrecisePause::makeTimer() const
{
    made_ = true;
    timer_.reset(::CreateWaitableTimerExW(nullptr, nullptr, HighResolutionTimer, TIMER_ALL_ACCESS));
    if (!timer_) {
        timer_.reset(::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
        coarseTimer_ = true;
    }
}

void PrecisePause::operator()(int milliseconds) const
{
    if (!made_)
        makeTimer();
    const FinerTick tick(coarseTimer_);
    LARGE_INTEGER due{};
    due.QuadPart = -10'000LL * milliseconds; // relative, in units of 100 ns
    if (timer_ && ::SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE))
        ::WaitForSingleObject(timer_.get(), INFINITE);
    else
        ::Sleep(static_cast<DWORD>(milliseconds));
}

} // namespace marlo
