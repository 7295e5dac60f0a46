#pragma once

#include "WindowSystemBase.h"

#include "PrecisePause.h"
#include "WinSystem.h"

#include <functional>
#include <map>
#include <string>

namespace marlo {

class FileSystem;

// The window side of both tools on the Windows API: message boxes, the
// tool's one window and its named controls, the event pump, the beep and
// the start of the main program, which works in the application folder of
// `files`.
class WinWindowSystem : public WindowSystemBase {
public:
    WinWindowSystem(FileSystem& files, std::string applicationTitle);

    WinWindowSystem(const WinWindowSystem&) = delete;
    WinWindowSystem& operator=(const WinWindowSystem&) = delete;

    // The window is made after its window side (it beeps while it loads);
    // it and its controls are handed over before it is shown.
    void setWindow(HWND window) { window_ = window; }
    void addControl(const std::string& name, HWND control) { controls_[name] = control; }
    HWND window() const { return window_; }

    Result<int> MsgBox(const std::string& prompt, int style,
                       const std::optional<std::string>& title) override;
    Result<int> Shell(const std::string& program, int windowStyle) override;
    void DoEvents() override;
    void Beep() override;

protected:
    bool hasControl(std::string_view name) const override;
    void enableControl(std::string_view name, bool enabled) override;
    void showControl(std::string_view name, bool visible) override;
    std::optional<BarRange> barRange(std::string_view name) const override;
    void setBarPosition(std::string_view name, int position) override;
    bool windowShown() const override;
    void activateWindow() override;
    void closeWindowAndQuit(int exitStatus) override;

private:
    // The live control of that name, or null.
    HWND control(std::string_view name) const;
    // The live window, or null once it is gone.
    HWND liveWindow() const;

    FileSystem& files_;
    std::string applicationTitle_;
    PrecisePause pause_;
    HWND window_ = nullptr;
    std::map<std::string, HWND, std::less<>> controls_;
};

} // namespace marlo
