#pragma once

#include "WindowSystemBase.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <string>

namespace marlo {

class FileSystem;

// The window side of both tools on Qt: message boxes, the tool's one window
// and its controls, the event pump, the beep and the start of the main
// program, which is looked for first in the application folder of `files`.
class QtWindowSystem : public WindowSystemBase {
public:
    QtWindowSystem(FileSystem& files, QWidget* window, QString applicationTitle);

    // The window is often made after its window side (it needs one to beep
    // while it loads); it is handed over here before it is shown.
    void setWindow(QWidget* window) { window_ = window; }
    QWidget* window() const { return window_; }

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
    QWidget* control(std::string_view name) const;

    FileSystem& files_;
    QPointer<QWidget> window_;
    QString applicationTitle_;
};

} // namespace marlo
