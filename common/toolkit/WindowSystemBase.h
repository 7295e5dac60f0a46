#pragma once

#include "WindowSystem.h"

#include <functional>

namespace marlo {

// What every toolkit's window side shares: the exit status that Unload and
// End hand over, and the pause. A toolkit supplies the calls that touch its
// window.
//
// main() returns the toolkit's run(), which answers exitStatus() once the
// event loop has ended.
class WindowSystemBase : public WindowSystem {
public:
    using Sleeper = std::function<void(int milliseconds)>;

    WindowSystemBase();

    // Replaces the blocking pause, so that tests need not wait.
    void setSleeper(Sleeper sleeper);

    // Status handed to the last Unload or End; 0 when neither was called.
    int exitStatus() const { return exitStatus_; }

    void Unload(int exitStatus) override;
    void End(int exitStatus) override;
    void Sleep(int milliseconds) override;

protected:
    // Closes the window and asks the running event loop, if any, to end.
    virtual void closeWindowAndQuit(int exitStatus) = 0;

private:
    void finish(int exitStatus);

    Sleeper sleeper_;
    int exitStatus_ = 0;
};

} // namespace marlo
