#include "WinInUse.h"

#include "WinErrors.h"
#include "WinHandle.h"
#include "WinText.h"

#include "WinSystem.h"

#include <restartmanager.h>

namespace marlo::win32 {

namespace {

// The last name of a program's path: "MARLOCON.EXE".
std::wstring programName(DWORD pid, const wchar_t* appName)
{
    const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (process) {
        wchar_t image[MAX_PATH * 4];
        DWORD size = static_cast<DWORD>(std::size(image));
        if (::QueryFullProcessImageNameW(process.get(), 0, image, &size)) {
            const std::wstring path(image, size);
            return path.substr(path.find_last_of(L"\\/") + 1);
        }
    }
    return appName;
}

// The Restart Manager's answer to who holds the file; empty when it cannot
// tell.
std::string holderOf(const std::wstring& path)
{
    DWORD session = 0;
    wchar_t key[CCH_RM_SESSION_KEY + 1] = {};
    if (::RmStartSession(&session, 0, key) != ERROR_SUCCESS)
        return {};
    struct EndSession {
        DWORD session;
        ~EndSession() { ::RmEndSession(session); }
    } const end{session};

    LPCWSTR files[] = {path.c_str()};
    if (::RmRegisterResources(session, 1, files, 0, nullptr, 0, nullptr) != ERROR_SUCCESS)
        return {};
    UINT needed = 0;
    UINT count = 0;
    DWORD reasons = 0;
    std::vector<RM_PROCESS_INFO> holders;
    DWORD result = ::RmGetList(session, &needed, &count, nullptr, &reasons);
    if (result == ERROR_MORE_DATA) {
        holders.resize(needed);
        count = needed;
        result = ::RmGetList(session, &needed, &count, holders.data(), &reasons);
    }
    if (result != ERROR_SUCCESS)
        return {};
    for (UINT i = 0; i < count; ++i) {
        const DWORD pid = holders[i].Process.dwProcessId;
        if (pid != ::GetCurrentProcessId())
            return narrow(programName(pid, holders[i].strAppName));
    }
    return {};
}

} // namespace

Status inUse(const std::wstring& path)
{
    return failure(ERROR_SHARING_VIOLATION, FileFailure::InUse, holderOf(path));
}

Status refuseIfInUse(const std::wstring& path)
{
    // Asking for the file with no sharing at all fails while any other
    // handle reads, writes or deletes it.
    const UniqueHandle alone(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (alone)
        return {};
    const DWORD error = ::GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return inUse(path);
    return {};
}

Status refuseIfAnyInUse(const std::vector<std::wstring>& paths)
{
    for (const std::wstring& path : paths)
        if (Status unused = refuseIfInUse(path); !unused)
            return unused;
    return {};
}

} // namespace marlo::win32
