#include "WindowSystemBase.h"

#include <chrono>
#include <cmath>
#include <thread>
#include <utility>

namespace marlo {

namespace {

// The errors that a put on a control can meet, numbered as the platform does.
Status noSuchControl()
{
    return Status::failure(424, "Object required");
}

Status notSupported()
{
    return Status::failure(438, "Object doesn't support this property or method");
}

} // namespace

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

Status WindowSystemBase::SetEnabled(std::string_view name, bool enabled)
{
    if (!hasControl(name))
        return noSuchControl();
    enableControl(name, enabled);
    return {};
}

Status WindowSystemBase::SetVisible(std::string_view name, bool visible)
{
    if (!hasControl(name))
        return noSuchControl();
    showControl(name, visible);
    return {};
}

Status WindowSystemBase::SetValue(std::string_view name, float value)
{
    if (!hasControl(name))
        return noSuchControl();
    const std::optional<BarRange> range = barRange(name);
    if (!range)
        return notSupported();
    if (value < static_cast<float>(range->low) || value > static_cast<float>(range->high))
        return Status::failure(380, "Invalid property value");
    setBarPosition(name, static_cast<int>(std::lround(value)));
    return {};
}

Status WindowSystemBase::SetFocus()
{
    // A hidden window cannot take the focus.
    if (!windowShown())
        return Status::failure(5, "Invalid procedure call or argument");
    activateWindow();
    return {};
}

} // namespace marlo
