#include "WinInUse.h"

#include "BriefHold.h"
#include "SystemDll.h"
#include "WinErrors.h"
#include "WinHandle.h"
#include "WinText.h"

#include "WinSystem.h"

#include <restartmanager.h>

namespace marlo::win32 {

namespace {

// The Restart Manager's calls. Its DLL is loaded on the first file found in
// use, not at every start of the tools: most runs never need it.
struct RestartManager {
    decltype(::RmStartSession)* startSession;
    decltype(::RmRegisterResources)* registerResources;
    decltype(::RmGetList)* getList;
    decltype(::RmEndSession)* endSession;
};

// Null when the system lacks the DLL or one of the calls: the holder then
// goes unnamed, as when the Restart Manager cannot answer.
const RestartManager* restartManager()
{
    static const SystemDll dll(L"rstrtmgr.dll");
    static const RestartManager calls{
        dll.find<decltype(::RmStartSession)>("RmStartSession"),
        dll.find<decltype(::RmRegisterResources)>("RmRegisterResources"),
        dll.find<decltype(::RmGetList)>("RmGetList"),
        dll.find<decltype(::RmEndSession)>("RmEndSession"),
    };
    const bool complete =
        calls.startSession && calls.registerResources && calls.getList && calls.endSession;
    return complete ? &calls : nullptr;
}

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
    const RestartManager* rm = restartManager();
    if (!rm)
        return {};
    DWORD session = 0;
    wchar_t key[CCH_RM_SESSION_KEY + 1] = {};
    if (rm->startSession(&session, 0, key) != ERROR_SUCCESS)
        return {};
    struct EndSession {
        const RestartManager& rm;
        DWORD session;
        ~EndSession() { rm.endSession(session); }
    } const end{*rm, session};

    LPCWSTR files[] = {path.c_str()};
    if (rm->registerResources(session, 1, files, 0, nullptr, 0, nullptr) != ERROR_SUCCESS)
        return {};
    UINT needed = 0;
    UINT count = 0;
    DWORD reasons = 0;
    std::vector<RM_PROCESS_INFO> holders;
    DWORD result = rm->getList(session, &needed, &count, nullptr, &reasons);
    if (result == ERROR_MORE_DATA) {
        holders.resize(needed);
        count = needed;
        result = rm->getList(session, &needed, &count, holders.data(), &reasons);
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

namespace {

// Whether another handle's sharing keeps us from opening the file so.
bool refusedForSharing(const std::wstring& path, DWORD access, DWORD share)
{
    const UniqueHandle file(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file)
        return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

enum class Hold {
    None,
    Passing, // readers that let others read, rename and remove it: a scanner
    Keeping, // a writer, or a holder that forbids renaming and removal
};

// How other programs hold the file, told by what their sharing lets us open;
// a file that is missing or that we may not read counts as not held.
Hold holdOn(const std::wstring& path)
{
    constexpr DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    // Asking for the file with no sharing at all fails while any other
    // handle reads, writes or deletes it.
    if (!refusedForSharing(path, GENERIC_READ, 0))
        return Hold::None;
    // Deletion access with full sharing fails only against a holder that
    // does not share deletion, as the main program's database engine holds
    // its file.
    if (refusedForSharing(path, DELETE, all))
        return Hold::Keeping;
    // Reading without sharing writing fails against a writer (and one that
    // does not even share reading); a writer would go on writing under the
    // new name.
    if (refusedForSharing(path, FILE_READ_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE))
        return Hold::Keeping;
    return Hold::Passing;
}

} // namespace

Status refuseIfInUse(const std::wstring& path)
{
    return refuseIfAnyInUse({path});
}

Status refuseIfAnyInUse(const std::vector<std::wstring>& paths)
{
    const std::wstring* held = nullptr;
    retryWithin(BriefHoldPatience, [&] {
        held = nullptr;
        for (const std::wstring& path : paths) {
            const Hold hold = holdOn(path);
            if (hold == Hold::Keeping) {
                held = &path;
                return true;
            }
            if (hold == Hold::Passing && !held)
                held = &path;
        }
        return held == nullptr;
    });
    return held ? inUse(*held) : Status();
}

} // namespace marlo::win32
