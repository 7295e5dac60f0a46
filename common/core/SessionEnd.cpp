#include "SessionEnd.h"

#include <atomic>

namespace marlo {

namespace {

// Lock-free, so that a signal handler may touch them. Both sides write their
// own before they read the other's, so of a request and the deferral's end
// at least one sees the other and ends the tool.
std::atomic<int> underWay{0};
std::atomic<int> requested{0};
std::atomic<SessionEnder> ender{nullptr};

void endFor(int reason)
{
    if (SessionEnder end = ender.load())
        end(reason);
}

} // namespace

SessionEndDeferred::SessionEndDeferred()
{
    underWay.fetch_add(1);
}

SessionEndDeferred::~SessionEndDeferred()
{
    if (underWay.fetch_sub(1) == 1)
        if (const int reason = requested.exchange(0); reason != 0)
            endFor(reason);
}

void setSessionEnder(SessionEnder end)
{
    ender.store(end);
}

void onSessionEndRequested(int reason)
{
    requested.store(reason);
    if (underWay.load() == 0)
        endFor(reason);
}

} // namespace marlo
