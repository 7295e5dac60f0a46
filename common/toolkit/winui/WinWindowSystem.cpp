#include "WinWindowSystem.h"

#include "FileSystem.h"
#include "MessagePump.h"
#include "ProgramStart.h"
#include "WinText.h"

#include <utility>

namespace marlo {

WinWindowSystem::WinWindowSystem(FileSystem& files, std::string applicationTitle)
    : files_(files), applicationTitle_(std::move(applicationTitle))
{
    setSleeper([this](int ms) { pause_(ms); });
}

HWND WinWindowSystem::liveWindow() const
{
    return window_ && IsWindow(window_) ? window_ : nullptr;
}

Result<int> WinWindowSystem::MsgBox(const std::string& prompt, int style,
                                    const std::optional<std::string>& title)
{
    // Owned by the visible window, which takes no input while the box is
    // open; without one the box still keeps the thread's windows waiting.
    HWND owner = liveWindow();
    UINT flags = static_cast<UINT>(style);
    if (!owner || !IsWindowVisible(owner)) {
        owner = nullptr;
        flags |= MB_TASKMODAL | MB_SETFOREGROUND;
    }
    const std::wstring caption = win32::widen(title ? *title : applicationTitle_);
    const int answer = MessageBoxW(owner, win32::widen(prompt).c_str(), caption.c_str(), flags);
    if (answer == 0)
        return Result<int>::failure(5, "Invalid procedure call or argument");
    return answer;
}

Result<int> WinWindowSystem::Shell(const std::string& program, int windowStyle)
{
    // The style numbers of Shell are the system's show commands. The main
    // program works in its own folder, whatever folder started the tool.
    return startProgram(program, windowStyle, files_.ApplicationFolder());
}

void WinWindowSystem::closeWindowAndQuit(int exitStatus)
{
    if (HWND window = liveWindow())
        DestroyWindow(window);
    PostQuitMessage(exitStatus);
}

int WinWindowSystem::run()
{
    // A loop that the system stops handing messages ends the tool with 1.
    return runMessageLoop() ? exitStatus() : 1;
}

void WinWindowSystem::DoEvents()
{
    pumpPendingMessages();
}

void WinWindowSystem::Beep()
{
    MessageBeep(MB_OK);
}

void WinWindowSystem::SetBusyReason(const std::string& reason)
{
    HWND window = liveWindow();
    if (!window)
        return;
    if (reason.empty())
        ShutdownBlockReasonDestroy(window);
    else
        ShutdownBlockReasonCreate(window, win32::widen(reason).c_str());
}

} // namespace marlo
