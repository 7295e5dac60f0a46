#include "WinWindowSystem.h"

#include "FileSystem.h"
#include "MessagePump.h"
#include "ProgramStart.h"
#include "WinText.h"

#include <commctrl.h>

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

void WinWindowSystem::DoEvents()
{
    pumpPendingMessages();
}

void WinWindowSystem::Beep()
{
    MessageBeep(MB_OK);
}

HWND WinWindowSystem::control(std::string_view name) const
{
    const auto found = controls_.find(name);
    if (found == controls_.end() || !IsWindow(found->second))
        return nullptr;
    return found->second;
}

bool WinWindowSystem::hasControl(std::string_view name) const
{
    return control(name) != nullptr;
}

void WinWindowSystem::enableControl(std::string_view name, bool enabled)
{
    EnableWindow(control(name), enabled);
}

void WinWindowSystem::showControl(std::string_view name, bool visible)
{
    ShowWindow(control(name), visible ? SW_SHOW : SW_HIDE);
}

auto WinWindowSystem::barRange(std::string_view name) const -> std::optional<BarRange>
{
    HWND bar = control(name);
    wchar_t className[64] = {};
    GetClassNameW(bar, className, 64);
    if (lstrcmpiW(className, PROGRESS_CLASSW) != 0)
        return std::nullopt;
    PBRANGE range{};
    SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    return BarRange{range.iLow, range.iHigh};
}

void WinWindowSystem::setBarPosition(std::string_view name, int position)
{
    // A themed bar grows towards a higher value over a while, and only while
    // messages are pumped, but steps back to a lower one at once; the reset
    // sets its values between pauses that pump nothing. So each value is
    // reached from just above it (from a range one longer at the end), and
    // drawn now.
    HWND bar = control(name);
    PBRANGE range{};
    SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const bool atEnd = position >= range.iHigh;
    if (atEnd)
        SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(range.iLow), range.iHigh + 1);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position + 1), 0);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    if (atEnd)
        SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(range.iLow), range.iHigh);
    UpdateWindow(bar);
}

bool WinWindowSystem::windowShown() const
{
    HWND window = liveWindow();
    return window && IsWindowVisible(window);
}

void WinWindowSystem::activateWindow()
{
    HWND window = liveWindow();
    SetForegroundWindow(window);
    ::SetFocus(window);
}

} // namespace marlo
