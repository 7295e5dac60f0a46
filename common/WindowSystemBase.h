#pragma once

#include "WindowSystem.h"

#include <functional>
#include <optional>
#include <string_view>

namespace marlo {

// What every toolkit's window side shares: the exit status that Unload and
// End hand over, the pause, and the rules and errors of the puts on
// controls. A toolkit supplies only the few calls that touch its window.
//
// main() returns exitStatus() once the toolkit's event loop has ended.
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
    Status SetEnabled(std::string_view control, bool enabled) override;
    Status SetVisible(std::string_view control, bool visible) override;
    Status SetValue(std::string_view control, float value) override;
    Status SetFocus() override;

protected:
    struct BarRange {
        int low, high;
    };

    // The toolkit's part. A named control counts only while it exists.
    virtual bool hasControl(std::string_view name) const = 0;
    virtual void enableControl(std::string_view name, bool enabled) = 0;
    virtual void showControl(std::string_view name, bool visible) = 0;
    // The range of a progress bar; none for any other kind of control.
    virtual std::optional<BarRange> barRange(std::string_view name) const = 0;
    virtual void setBarPosition(std::string_view name, int position) = 0;
    virtual bool windowShown() const = 0;
    virtual void activateWindow() = 0;
    // Closes the window and asks the running event loop, if any, to end.
    virtual void closeWindowAndQuit(int exitStatus) = 0;

private:
    void finish(int exitStatus);

    Sleeper sleeper_;
    int exitStatus_ = 0;
};

} // namespace marlo
