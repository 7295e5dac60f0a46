#include "ProgramStart.h"

#include "ShellCalls.h"
#include "WinHandle.h"
#include "WinText.h"

#include "WinSystem.h"

namespace marlo {

namespace {

// What CreateProcessW answers for a program that must run with administrator
// rights; the MinGW headers lack its name.
constexpr DWORD ElevationRequired = 740;

Result<int> failedStart(DWORD error)
{
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return Result<int>::failure(53, "File not found");
    return Result<int>::failure(5, "Invalid procedure call or argument");
}

// The file the name leads to, searched for from the running program's folder
// first; the name itself where none is found, for the shell to search.
std::wstring foundProgram(const std::wstring& name)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::SearchPathW(nullptr, name.c_str(), nullptr,
                                           static_cast<DWORD>(path.size()), path.data(), nullptr);
        if (length == 0)
            return name;
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);
    }
}

} // namespace

Result<int> startProgram(const std::string& program, int showCommand,
                         const std::string& workingFolder)
{
    // Quoted, so that the whole name is the program even with a blank in it;
    // CreateProcessW may write into its command line.
    std::wstring commandLine = L"\"" + win32::widen(program) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    const std::wstring folder = win32::widen(workingFolder);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        // Only the shell may ask the user for administrator rights. It is
        // not the first way: it loads the shell's libraries into the tool.
        const DWORD error = GetLastError();
        if (error == ElevationRequired)
            return startThroughShell(program, showCommand, workingFolder);
        return failedStart(error);
    }
    // The program runs on its own; its handles are not kept.
    const win32::UniqueHandle process(started.hProcess);
    const win32::UniqueHandle thread(started.hThread);
    return static_cast<int>(started.dwProcessId);
}

Result<int> startThroughShell(const std::string& program, int showCommand,
                              const std::string& workingFolder)
{
    const ShellCalls* shell = nullptr;
    if (FAILED(shellCallsOnThisThread(shell)))
        return failedStart(ERROR_MOD_NOT_FOUND);
    const std::wstring file = foundProgram(win32::widen(program));
    const std::wstring folder = win32::widen(workingFolder);
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof start;
    // No box of the shell's own on a failure, and done before the tool,
    // which ends next, may end.
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    start.lpFile = file.c_str();
    start.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    start.nShow = showCommand;
    if (!shell->shellExecuteEx(&start))
        return failedStart(GetLastError());
    const win32::UniqueHandle process(start.hProcess);
    return process ? static_cast<int>(GetProcessId(process.get())) : 0;
}

} // namespace marlo
