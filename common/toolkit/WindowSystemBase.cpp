#include "WindowSystemBase.h"

#include <chrono>
#include <thread>
#include <utility>

namespace marlo {

WindowSystemBase::WindowSystemBase()
    : sleeper_([](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); })
{
}

void WindowSystemBase::setSleeper(Sleeper sleeper)
{
    sleeper_ = std::move(sleeper);
}

void WindowSystemBase::finish(int exitStatus)
{
    exitStatus_ = exitStatus;
    closeWindowAndQuit(exitStatus);
}

void WindowSystemBase::Unload(int exitStatus)
{
    // The handler goes on to its end; the event loop ends when it returns.
    finish(exitStatus);
}

void WindowSystemBase::End(int exitStatus)
{
    // The caller returns straight away, and with it every handler.
    finish(exitStatus);
}

void WindowSystemBase::Sleep(int milliseconds)
{
    sleeper_(milliseconds);
}

} // namespace marlo
