#pragma once

#include "MessagePump.h"
#include "WinHandle.h"
#include "WinSystem.h"
#include "WinText.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Drives real windows from inside Windows, as a user would reach them:
// found by class and title, read through their texts and rectangles, pressed
// through posted messages. Every wait is bounded.
namespace marlo::test {

using namespace std::chrono_literals;

inline bool waitUntil(const std::function<bool()>& ready, std::chrono::milliseconds limit = 10s)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

inline std::wstring textOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline std::wstring classOf(HWND window)
{
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

// Enumeration callbacks are named functions, not lambdas: a lambda's
// conversion lacks the calling convention that 32-bit Windows calls with.
struct TopWindowSearch {
    const wchar_t* className;
    const std::wstring& title;
    DWORD process;
    HWND found = nullptr;
};

inline BOOL CALLBACK matchTopWindow(HWND window, LPARAM data)
{
    auto& s = *reinterpret_cast<TopWindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s.process || !IsWindowVisible(window) || textOf(window) != s.title ||
        (s.className && classOf(window) != s.className))
        return TRUE;
    s.found = window;
    return FALSE;
}

inline BOOL CALLBACK cancelBox(HWND window, LPARAM)
{
    if (classOf(window) == L"#32770")
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// The visible top-level window of `process` with that class (any when
// null) and title.
inline HWND findTopWindow(const wchar_t* className, const std::wstring& title,
                          DWORD process = GetCurrentProcessId())
{
    TopWindowSearch search{className, title, process};
    EnumWindows(&matchTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND waitForTopWindow(const wchar_t* className, const std::wstring& title,
                             DWORD process = GetCurrentProcessId())
{
    HWND found = nullptr;
    waitUntil([&] { return (found = findTopWindow(className, title, process)) != nullptr; });
    return found;
}

// Children in stacking order, the top one first.
inline std::vector<HWND> childrenOf(HWND parent)
{
    std::vector<HWND> all;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        all.push_back(c);
    return all;
}

inline HWND childWithText(HWND parent, const std::wstring& text)
{
    for (HWND c : childrenOf(parent))
        if (textOf(c) == text)
            return c;
    return nullptr;
}

inline HWND childOfClass(HWND parent, const std::wstring& className)
{
    for (HWND c : childrenOf(parent))
        if (lstrcmpiW(classOf(c).c_str(), className.c_str()) == 0)
            return c;
    return nullptr;
}

// A child's rectangle in its parent's client coordinates.
inline RECT placeOf(HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline POINT centreOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Tells `window` that its monitor's scale went from `fromDpi` to `dpi`, and
// suggests its rectangle around its centre, as the system does: at the size
// the window answers for the new scale, else scaled.
inline void changeDpi(HWND window, int fromDpi, int dpi)
{
    RECT r{};
    GetWindowRect(window, &r);
    const POINT centre = centreOf(window);
    SIZE answered{};
    const bool answers = SendMessageW(window, WM_GETDPISCALEDSIZE, static_cast<WPARAM>(dpi),
                                      reinterpret_cast<LPARAM>(&answered));
    const int width = answers ? answered.cx : MulDiv(r.right - r.left, dpi, fromDpi);
    const int height = answers ? answered.cy : MulDiv(r.bottom - r.top, dpi, fromDpi);
    RECT suggested{centre.x - width / 2, centre.y - height / 2, 0, 0};
    suggested.right = suggested.left + width;
    suggested.bottom = suggested.top + height;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

inline void click(HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
}

// What a message box showed, and how it was answered.
struct Box {
    std::wstring title, text;
    bool hasIcon = false;
};

// Waits for a message box titled `title`, reads it and presses `button`.
inline std::optional<Box> answerBox(const std::wstring& title, int button,
                                    DWORD process = GetCurrentProcessId())
{
    HWND box = waitForTopWindow(L"#32770", title, process);
    if (!box)
        return std::nullopt;
    Box seen{textOf(box), textOf(GetDlgItem(box, 0xFFFF)), false};
    for (HWND c : childrenOf(box))
        if (classOf(c) == L"Static" && (GetWindowLongPtrW(c, GWL_STYLE) & SS_ICON))
            seen.hasIcon = SendMessageW(c, STM_GETICON, 0, 0) != 0;
    click(GetDlgItem(box, button));
    waitUntil([&] { return !IsWindow(box); });
    return seen;
}

// The name field of a file chooser.
inline HWND nameFieldOf(HWND chooser)
{
    constexpr int NameCombo = 0x47C, NameEdit = 0x480;
    HWND field = GetDlgItem(chooser, NameCombo);
    return field && IsWindowVisible(field) ? field : GetDlgItem(chooser, NameEdit);
}

// What the name field of the file chooser titled `title` shows.
inline std::wstring chooserName(const std::wstring& title)
{
    HWND chooser = waitForTopWindow(L"#32770", title);
    return chooser ? textOf(nameFieldOf(chooser)) : L"<no chooser>";
}

// The width in pixels of `icon`'s picture; 0 for no icon.
inline int iconSideOf(HICON icon)
{
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// Types `name` into the file chooser titled `title` and accepts it.
inline bool chooseFile(const std::wstring& title, const std::wstring& name)
{
    HWND chooser = waitForTopWindow(L"#32770", title);
    if (!chooser)
        return false;
    SendMessageW(nameFieldOf(chooser), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    click(GetDlgItem(chooser, IDOK));
    return waitUntil([&] { return !IsWindow(chooser); });
}

inline bool cancelChooser(const std::wstring& title)
{
    HWND chooser = waitForTopWindow(L"#32770", title);
    if (!chooser)
        return false;
    click(GetDlgItem(chooser, IDCANCEL));
    return waitUntil([&] { return !IsWindow(chooser); });
}

// Runs `drive` on a thread of its own while this thread runs the windows'
// messages, until `drive` has returned. Answers the status of an end that
// the program asked for meanwhile.
inline std::optional<int> driveWhileRunning(const std::function<void()>& drive)
{
    std::atomic<bool> done = false, back = false;
    std::optional<int> quit;
    const DWORD uiThread = GetCurrentThreadId();
    std::jthread driver([&] {
        drive();
        done = true;
        // A drive that stopped early (a failed assertion) may leave a modal
        // box or chooser open, which would keep this thread from coming back.
        waitUntil([&] {
            PostThreadMessageW(uiThread, WM_NULL, 0, 0);
            EnumThreadWindows(uiThread, &cancelBox, 0);
            return back.load();
        });
    });
    while (!done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                quit = static_cast<int>(message.wParam);
            else
                dispatchMessage(message);
        }
    }
    back = true;
    return quit;
}

// A fresh folder that stands for the application folder, removed with all
// it holds when the test ends.
class AppFolder {
public:
    AppFolder()
    {
        static int made = 0;
        path_ = std::filesystem::temp_directory_path() /
                (L"marlo-winui-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++made));
        std::filesystem::create_directories(path_);
    }
    AppFolder(const AppFolder&) = delete;
    AppFolder& operator=(const AppFolder&) = delete;
    ~AppFolder()
    {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ignored))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(path_, ignored);
    }

    std::string str() const { return win32::narrow(path_.wstring()); }
    std::wstring wide(const std::string& name) const { return (path_ / name).wstring(); }
    std::string operator/(const std::string& name) const { return str() + "\\" + name; }

    void write(const std::string& name, const std::string& content) const
    {
        std::ofstream(path_ / name, std::ios::binary | std::ios::trunc) << content;
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(path_ / name, std::ios::binary);
        if (!in)
            return "<none>";
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    bool has(const std::string& name) const { return std::filesystem::exists(path_ / name); }
    // Which file has the name now (0: none). Asked through a handle without
    // access to the content, which no program that wants the file to itself
    // is refused for, as it would be for a read: a test waits on it while a
    // command replaces the file.
    unsigned long long fileIndex(const std::string& name) const
    {
        const win32::UniqueHandle file(CreateFileW(
            wide(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, 0, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        if (!file || !GetFileInformationByHandle(file.get(), &info))
            return 0;
        return static_cast<unsigned long long>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    }
    void copyIn(const std::wstring& file, const std::string& name) const
    {
        std::filesystem::copy_file(file, path_ / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }

private:
    std::filesystem::path path_;
};

// A file beside the running test program (the programs under test and the
// helpers are built into the same folder).
inline std::wstring besideTest(const std::wstring& name)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).replace_filename(name).wstring();
}

// A program started in a folder of its own, ended at the latest with the test.
class StartedProgram {
public:
    StartedProgram(const std::wstring& program, const std::wstring& folder,
                   const std::wstring& arguments = {})
    {
        std::wstring commandLine = L"\"" + program + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, folder.c_str(), &startup, &info_))
            info_ = {};
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    ~StartedProgram()
    {
        if (!info_.hProcess)
            return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }

    DWORD id() const { return info_.dwProcessId; }
    // The exit status, or nullopt when it has not ended within `limit`.
    std::optional<DWORD> exitStatus(std::chrono::milliseconds limit = 20s) const
    {
        if (!info_.hProcess ||
            WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD status = 0;
        GetExitCodeProcess(info_.hProcess, &status);
        return status;
    }

private:
    PROCESS_INFORMATION info_{};
};

} // namespace marlo::test
