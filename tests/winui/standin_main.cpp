// Stands in for other Windows programs in the tests. Started as the main
// program, it leaves "started.txt" beside itself, holding the folder it was
// started to work in, and ends. Started as
// "hold <file>", it holds the file open, shared with nobody, until it is
// ended.
#include "WinSystem.h"

#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && std::wstring(argv[1]) == L"hold") {
        const auto hold = [&] {
            return CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        HANDLE held = hold();
        // The test may be reading the file to see whether it is held yet.
        for (int tries = 0; held == INVALID_HANDLE_VALUE &&
                            GetLastError() == ERROR_SHARING_VIOLATION && tries < 500;
             ++tries) {
            Sleep(10);
            held = hold();
        }
        if (held == INVALID_HANDLE_VALUE)
            return 2;
        Sleep(INFINITE);
    }
    wchar_t self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring mark(self, length);
    mark = mark.substr(0, mark.find_last_of(L'\\') + 1) + L"started.txt";
    HANDLE file = CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    wchar_t folder[MAX_PATH] = {};
    const DWORD folderLength = GetCurrentDirectoryW(MAX_PATH, folder);
    DWORD written = 0;
    WriteFile(file, folder, folderLength * sizeof(wchar_t), &written, nullptr);
    CloseHandle(file);
    return 0;
}
