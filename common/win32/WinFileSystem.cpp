// The file layer on Windows: the tools' paths are the system's own, names are
// compared without regard to case by the system itself, and the work goes to
// the wide-character calls.
#include "HostFileSystem.h"

#include "WinCopy.h"
#include "WinFileOps.h"
#include "WinInUse.h"
#include "WinPaths.h"
#include "WinText.h"

#include "WinSystem.h"

#include <utility>

namespace marlo {

namespace {

class WinFileSystem : public HostFileSystem {
public:
    using HostFileSystem::HostFileSystem;

    Result<bool> FileExists(const std::string& path) override
    {
        return win32::regularFileExists(win32::systemPath(path));
    }

    Result<std::unique_ptr<StagedCopy>> StageCopy(const std::string& source,
                                                  const std::string& destination,
                                                  const CopyOptions& options) override
    {
        return win32::stageCopy(win32::systemPath(source), win32::systemPath(destination), options);
    }

    Status KeepBackup(const std::string& file, const std::string& backup) override
    {
        return win32::keepBackup(win32::systemPath(file), win32::systemPath(backup));
    }

    Status RemoveKeptBackup(const std::string& backup) override
    {
        return win32::removeName(win32::systemPath(backup));
    }

    Status MoveFile(const std::string& source, const std::string& destination) override
    {
        return win32::moveNoReplace(win32::systemPath(source), win32::systemPath(destination));
    }

    Status SetAside(const std::string& path, const std::string& aside) override
    {
        return win32::setAside(win32::systemPath(path), win32::systemPath(aside));
    }

    Status DeleteFile(const std::string& path, bool force) override
    {
        return win32::deleteFile(win32::systemPath(path), force);
    }

    Status FilesNotInUse(const std::vector<std::string>& paths) override
    {
        std::vector<std::wstring> files;
        for (const std::string& path : paths)
            files.push_back(win32::systemPath(path));
        return win32::refuseIfAnyInUse(files);
    }

    // Either slash ends a folder's name on Windows.
    std::string NameOf(const std::string& path) override
    {
        const auto slash = path.find_last_of("\\/");
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }
};

} // namespace

std::string hostApplicationFolder()
{
    std::wstring module(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
        if (length == 0)
            return ".";
        if (length < module.size()) {
            module.resize(length);
            break;
        }
        module.resize(module.size() * 2);
    }
    std::wstring folder = module.substr(0, module.find_last_of(L"\\/"));
    if (folder.ends_with(L':'))
        folder += L'\\'; // a drive's root keeps its separator
    return win32::narrow(folder);
}

// Paths the tools build need no telling apart on Windows: the backslash is
// the system's separator and the system ignores case in names.
std::unique_ptr<FileSystem> makeHostFileSystem(std::function<std::string()> applicationFolder)
{
    return std::make_unique<WinFileSystem>(std::move(applicationFolder));
}

} // namespace marlo
