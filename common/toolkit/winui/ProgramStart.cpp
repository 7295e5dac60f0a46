#include "ProgramStart.h"

#include "WinHandle.h"
#include "WinText.h"

#include "WinSystem.h"

namespace marlo {

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
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return Result<int>::failure(53, "File not found");
        return Result<int>::failure(5, "Invalid procedure call or argument");
    }
    // The program runs on its own; its handles are not kept.
    const win32::UniqueHandle process(started.hProcess);
    const win32::UniqueHandle thread(started.hThread);
    return static_cast<int>(started.dwProcessId);
}

} // namespace marlo
