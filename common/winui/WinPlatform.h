#pragma once

#include "FileSystem.h"
#include "HostFilesPlatform.h"

#include "WinSystem.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace marlo {

// The platform of both tools on the Windows API: message boxes, the tool's
// one window and its named controls, pauses, the event pump, the beep and
// the start of the main program. File operations go to the FileSystem it
// is given.
//
// The exit status that Unload and End hand over is kept here; main()
// returns exitStatus() once the message loop has ended.
class WinPlatform : public HostFilesPlatform {
public:
    using Sleeper = std::function<void(int milliseconds)>;

    // The host's file layer in the folder of the running executable.
    explicit WinPlatform(std::string applicationTitle);
    // Tests point `applicationFolder` at a folder of their own.
    WinPlatform(std::string applicationTitle, std::unique_ptr<FileSystem> files,
                FolderSource applicationFolder);

    WinPlatform(const WinPlatform&) = delete;
    WinPlatform& operator=(const WinPlatform&) = delete;

    // The window is made after its platform (it beeps while it loads); it
    // and its controls are handed over before it is shown.
    void setWindow(HWND window) { window_ = window; }
    void addControl(const std::string& name, HWND control) { controls_[name] = control; }
    HWND window() const { return window_; }

    // Replaces the blocking pause, so that tests need not wait.
    void setSleeper(Sleeper sleeper) { sleeper_ = std::move(sleeper); }

    // Status handed to the last Unload or End; 0 when neither was called.
    int exitStatus() const { return exitStatus_; }

    Result<int> MsgBox(const std::string& prompt, int style,
                       const std::optional<std::string>& title) override;
    Result<int> Shell(const std::string& program, int windowStyle) override;
    void Unload(int exitStatus) override;
    void End(int exitStatus) override;
    void Sleep(int milliseconds) override;
    void DoEvents() override;
    void Beep() override;
    Status SetEnabled(std::string_view control, bool enabled) override;
    Status SetVisible(std::string_view control, bool visible) override;
    Status SetValue(std::string_view control, float value) override;
    Status SetFocus() override;

private:
    // Destroys the window and asks the message loop to end.
    void finish(int exitStatus);
    Result<HWND> control(std::string_view name) const;
    // The live window, or null once it is gone.
    HWND liveWindow() const;

    std::string applicationTitle_;
    Sleeper sleeper_;
    HWND window_ = nullptr;
    std::map<std::string, HWND, std::less<>> controls_;
    int exitStatus_ = 0;
};

} // namespace marlo
