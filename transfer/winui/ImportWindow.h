#pragma once

#include "DialogWindow.h"
#include "TransferCommands.h"
#include "TwipLayout.h"
#include "WinCommonDialog.h"

#include <functional>
#include <memory>
#include <optional>

namespace marlo {

class FileSystem;
class WinWindowSystem;

// The import/export tool's one window, "import": four paragraphs in a plain
// frame and eight buttons at fixed places, which keep their places when the
// window is resized. Every button runs a handler of TransferCommands, which
// works through the platform alone.
class ImportWindow : public DialogWindow {
public:
    // Makes the runner of the commands' confirmed copies for this window;
    // without one they copy straight through the file layer.
    using CopierFactory = std::function<std::unique_ptr<CopyRunner>(HWND window)>;

    // Builds the window, hidden.
    ImportWindow(FileSystem& files, WinWindowSystem& windows, const CopierFactory& makeCopier = {});
    // The window and its controls go before their font.
    ~ImportWindow() override;

    // Shows the window in the middle of the screen, the focus on Command1.
    void show();

    TransferCommands& commands() { return *commands_; }

protected:
    std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void buildControls();

    WinWindowSystem& windows_;
    // Made with the window; its fonts outlive the controls' use of them.
    std::optional<TwipLayout> layout_;
    WinCommonDialog commonDialog1_;
    std::unique_ptr<TransferCommands> commands_;
    HWND firstButton_ = nullptr;
};

} // namespace marlo
