#pragma once

#include "WindowSystemBase.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <string>

namespace marlo {

class FileSystem;

// The window side of both tools on Qt: message boxes, the close of the
// tool's one window, the event pump, the beep and the start of the main
// program, which is looked for first in the application folder of `files`.
class QtWindowSystem : public WindowSystemBase {
public:
    QtWindowSystem(FileSystem& files, QWidget* window, QString applicationTitle);

    // The window is often made after its window side (it needs one to beep
    // while it loads); it is handed over here before it is shown.
    void setWindow(QWidget* window) { window_ = window; }
    QWidget* window() const { return window_; }

    // Runs the event loop until the tool ends; answers its exit status.
    int run();

    Result<int> MsgBox(const std::string& prompt, int style,
                       const std::optional<std::string>& title) override;
    Result<int> Shell(const std::string& program, int windowStyle) override;
    void DoEvents() override;
    void Beep() override;
    // A desktop session on Linux ends the tool by a signal, which waits for
    // a change under way by itself (SessionEndDeferred): no reason is shown.
    void SetBusyReason(const std::string&) override {}

protected:
    void closeWindowAndQuit(int exitStatus) override;

private:
    FileSystem& files_;
    QPointer<QWidget> window_;
    QString applicationTitle_;
};

} // namespace marlo
