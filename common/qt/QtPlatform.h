#pragma once

#include "FileSystem.h"
#include "HostFilesPlatform.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace marlo {

// The platform of both tools on Qt: message boxes, the tool's one window and
// its controls, pauses, the event pump, the beep and the start of the main
// program. File operations go to the FileSystem it is given.
//
// The exit status that Unload and End hand over is kept here; main() returns
// exitStatus() once the event loop has ended.
class QtPlatform : public HostFilesPlatform {
public:
    using Sleeper = std::function<void(int milliseconds)>;

    // The host's file layer in the folder of the running executable.
    QtPlatform(QWidget* window, QString applicationTitle);
    // `applicationFolder` answers ApplicationFolder() and is where Shell
    // looks first; tests point it at a folder of their own.
    QtPlatform(QWidget* window, QString applicationTitle, std::unique_ptr<FileSystem> files,
               FolderSource applicationFolder = hostApplicationFolder);
    ~QtPlatform() override;

    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // The window is often made after its platform (it needs one to beep while
    // it loads); it is handed over here before it is shown.
    void setWindow(QWidget* window);
    QWidget* window() const { return window_; }

    // Replaces the blocking pause, so that tests need not wait.
    void setSleeper(Sleeper sleeper);

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
    // Closes the window and asks the running event loop, if any, to end.
    void finish(int exitStatus);
    Result<QWidget*> control(std::string_view name) const;

    QPointer<QWidget> window_;
    QString applicationTitle_;
    Sleeper sleeper_;
    int exitStatus_ = 0;
};

} // namespace marlo
