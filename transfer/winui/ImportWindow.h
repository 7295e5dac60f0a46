#pragma once

#include "DialogWindow.h"
#include "Platform.h"
#include "TransferCommands.h"
#include "WinCommonDialog.h"

#include <functional>
#include <memory>

namespace marlo {

// The import/export tool's one window, "import": four paragraphs in a plain
// frame and eight buttons at fixed places, which keep their places when the
// window is resized. Every button runs a handler of TransferCommands, which
// works through the platform alone.
class ImportWindow : public DialogWindow {
public:
    // Makes the runner of the commands' confirmed copies for this window;
    // without one they copy straight through the file layer.
    using CopierFactory = std::function<std::unique_ptr<CopyRunner>(HWND window)>;

    // Builds the window, hidden, in the middle of the screen.
    explicit ImportWindow(Platform platform, const CopierFactory& makeCopier = {});

    TransferCommands& commands() { return *commands_; }

protected:
    void clicked(int id) override;

private:
    void buildControls();

    WinCommonDialog commonDialog1_;
    std::unique_ptr<TransferCommands> commands_;
};

} // namespace marlo
