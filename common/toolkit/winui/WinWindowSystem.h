#pragma once

#include "WindowSystemBase.h"

#include "PrecisePause.h"
#include "WinSystem.h"

#include <string>

namespace marlo {

class FileSystem;

// The window side of both tools on the Windows API: message boxes, the
// close of the tool's one window, the event pump, the beep and the start of
// the main program, which works in the application folder of `files`.
class WinWindowSystem : public WindowSystemBase {
public:
    WinWindowSystem(FileSystem& files, std::string applicationTitle);

    WinWindowSystem(const WinWindowSystem&) = delete;
    WinWindowSystem& operator=(const WinWindowSystem&) = delete;

    // The window is made after its window side (it beeps while it loads);
    // it is handed over before it is shown.
    void setWindow(HWND window) { window_ = window; }
    HWND window() const { return window_; }

    // Runs the message loop until the tool ends; answers its exit status.
    int run();

    Result<int> MsgBox(const std::string& prompt, int style,
                       const std::optional<std::string>& title) override;
    Result<int> Shell(const std::string& program, int windowStyle) override;
    void DoEvents() override;
    void Beep() override;
    // Given to the system for the window, which shows it on the log-off
    // screen while the window refuses the end of the session.
    void SetBusyReason(const std::string& reason) override;

protected:
    void closeWindowAndQuit(int exitStatus) override;

private:
    // The live window, or null once it is gone.
    HWND liveWindow() const;

    FileSystem& files_;
    std::string applicationTitle_;
    PrecisePause pause_;
    HWND window_ = nullptr;
};

} // namespace marlo
