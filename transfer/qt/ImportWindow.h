#pragma once

#include "QtCloseWhenIdle.h"
#include "QtCommonDialog.h"
#include "TransferCommands.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace marlo {

class CommonDialog;

// The import/export tool's one window, "import": four paragraphs in a frame
// and eight buttons at fixed places. Every button runs a handler of
// TransferCommands, which works through `platform` alone, so tests drive
// the window against the fake.
class ImportWindow : public QWidget {
    Q_OBJECT
public:
    // Makes the runner of the commands' confirmed copies for this window;
    // without one they copy straight through the file layer.
    using CopierFactory = std::function<std::unique_ptr<CopyRunner>(QWidget* window)>;

    // Builds the window, hidden, in the middle of the screen. The window
    // owns its chooser CommonDialog1; a test hands in its own.
    explicit ImportWindow(Platform platform, const CopierFactory& makeCopier = {},
                          CommonDialog* commonDialog1 = nullptr);

    TransferCommands& commands() { return commands_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();

    QtCommonDialog qtCommonDialog1_;
    TransferCommands commands_;
    QtCloseWhenIdle closeWhenIdle_;
};

} // namespace marlo
