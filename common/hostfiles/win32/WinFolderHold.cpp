#include "WinFolderHold.h"

#include "WinErrors.h"
#include "WinFileInfo.h"
#include "WinHandle.h"

#include <cwchar>
#include <mutex>
#include <set>
#include <utility>

namespace marlo::win32 {

namespace {

// A mutex is taken again by the thread that owns it; the folders this
// process holds are refused to a second command of its own here.
std::mutex heldMutex;
std::set<std::pair<DWORD, std::uint64_t>> heldFolders;

Status heldByAnother()
{
    return failure(ERROR_LOCK_VIOLATION, FileFailure::FolderHeld);
}

std::wstring mutexName(const FileIdentity& folder, const wchar_t* space)
{
    wchar_t name[96];
    std::swprintf(name, std::size(name), L"%ls\\marlo-dbtools-folder-%08lx-%016llx", space,
                  static_cast<unsigned long>(folder.volume),
                  static_cast<unsigned long long>(folder.index));
    return name;
}

class WinFolderHold : public FolderHold {
public:
    WinFolderHold(UniqueHandle mutex, const FileIdentity& folder)
        : mutex_(std::move(mutex)), folder_(folder)
    {
        const std::lock_guard lock(heldMutex);
        heldFolders.insert({folder_.volume, folder_.index});
    }
    ~WinFolderHold() override
    {
        ::ReleaseMutex(mutex_.get());
        const std::lock_guard lock(heldMutex);
        heldFolders.erase({folder_.volume, folder_.index});
    }
    bool excludes() const override { return true; }

private:
    UniqueHandle mutex_;
    FileIdentity folder_;
};

} // namespace

Result<std::unique_ptr<FolderHold>> holdFolder(const std::wstring& path)
{
    using Hold = Result<std::unique_ptr<FolderHold>>;
    const UniqueHandle folder(
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder)
        return Hold(lastFailure());
    const Result<FileIdentity> identity = identityOf(folder.get());
    if (!identity)
        return Hold(identity.status());
    {
        const std::lock_guard lock(heldMutex);
        if (heldFolders.count({identity.value().volume, identity.value().index}))
            return Hold(heldByAnother());
    }
    // Every session's instances meet in the global names; a mutex there that
    // another user made, and that this one may not open, is held by that
    // user's command.
    UniqueHandle mutex(
        ::CreateMutexW(nullptr, FALSE, mutexName(identity.value(), L"Global").c_str()));
    if (!mutex && ::GetLastError() == ERROR_ACCESS_DENIED)
        return Hold(heldByAnother());
    if (!mutex)
        return Hold(lastFailure());
    // Abandoned by a command that died: its hold is over.
    const DWORD waited = ::WaitForSingleObject(mutex.get(), 0);
    if (waited == WAIT_TIMEOUT)
        return Hold(heldByAnother());
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        return Hold(lastFailure());
    return Hold(std::unique_ptr<FolderHold>(
        std::make_unique<WinFolderHold>(std::move(mutex), identity.value())));
}

} // namespace marlo::win32
