#include "WinPlatform.h"

#include "MessagePump.h"
#include "ProgramStart.h"
#include "WinText.h"

#include <commctrl.h>

#include <cmath>

#include <utility>

namespace marlo {

namespace {

// The errors that a put on a control can meet, numbered as the platform does.
Status noSuchControl()
{
    return Status::failure(424, "Object required");
}

Status notSupported()
{
    return Status::failure(438, "Object doesn't support this property or method");
}

bool isProgressBar(HWND control)
{
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return lstrcmpiW(name, PROGRESS_CLASSW) == 0;
}

} // namespace

WinPlatform::WinPlatform(std::string applicationTitle)
    : WinPlatform(std::move(applicationTitle), makeHostFileSystem(hostApplicationFolder),
                  hostApplicationFolder)
{
}

WinPlatform::WinPlatform(std::string applicationTitle, std::unique_ptr<FileSystem> files,
                         FolderSource applicationFolder)
    : HostFilesPlatform(std::move(files), std::move(applicationFolder)),
      applicationTitle_(std::move(applicationTitle)),
      sleeper_([](int ms) { ::Sleep(static_cast<DWORD>(ms)); })
{
}

HWND WinPlatform::liveWindow() const
{
    return window_ && IsWindow(window_) ? window_ : nullptr;
}

Result<int> WinPlatform::MsgBox(const std::string& prompt, int style,
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

Result<int> WinPlatform::Shell(const std::string& program, int windowStyle)
{
    // The style numbers of Shell are the system's show commands. The main
    // program works in its own folder, whatever folder started the tool.
    return startProgram(program, windowStyle, ApplicationFolder());
}

void WinPlatform::finish(int exitStatus)
{
    exitStatus_ = exitStatus;
    if (HWND window = liveWindow())
        DestroyWindow(window);
    PostQuitMessage(exitStatus);
}

void WinPlatform::Unload(int exitStatus)
{
    // The handler goes on to its end; the message loop ends when it returns.
    finish(exitStatus);
}

void WinPlatform::End(int exitStatus)
{
    // The caller returns straight away, and with it every handler.
    finish(exitStatus);
}

void WinPlatform::Sleep(int milliseconds)
{
    sleeper_(milliseconds);
}

void WinPlatform::DoEvents()
{
    pumpPendingMessages();
}

void WinPlatform::Beep()
{
    MessageBeep(MB_OK);
}

Result<HWND> WinPlatform::control(std::string_view name) const
{
    const auto found = controls_.find(name);
    if (found == controls_.end() || !IsWindow(found->second))
        return noSuchControl();
    return found->second;
}

Status WinPlatform::SetEnabled(std::string_view name, bool enabled)
{
    const Result<HWND> c = control(name);
    if (!c)
        return c.status();
    EnableWindow(c.value(), enabled);
    return {};
}

Status WinPlatform::SetVisible(std::string_view name, bool visible)
{
    const Result<HWND> c = control(name);
    if (!c)
        return c.status();
    ShowWindow(c.value(), visible ? SW_SHOW : SW_HIDE);
    return {};
}

Status WinPlatform::SetValue(std::string_view name, float value)
{
    const Result<HWND> c = control(name);
    if (!c)
        return c.status();
    if (!isProgressBar(c.value()))
        return notSupported();
    PBRANGE range{};
    SendMessageW(c.value(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    if (value < static_cast<float>(range.iLow) || value > static_cast<float>(range.iHigh))
        return Status::failure(380, "Invalid property value");
    SendMessageW(c.value(), PBM_SETPOS, static_cast<WPARAM>(std::lround(value)), 0);
    return {};
}

Status WinPlatform::SetFocus()
{
    // A hidden window cannot take the focus.
    HWND window = liveWindow();
    if (!window || !IsWindowVisible(window))
        return Status::failure(5, "Invalid procedure call or argument");
    SetForegroundWindow(window);
    ::SetFocus(window);
    return {};
}

} // namespace marlo
