// The file layer on Windows: the tools' paths are the system's own, names are
// compared without regard to case by the system itself, and the work goes to
// the wide-character calls.
#include "FileChooser.h"
#include "HostFileSystem.h"

#include "WinCopy.h"
#include "WinFileOps.h"
#include "WinFolderHold.h"
#include "WinInUse.h"
#include "WinPaths.h"
#include "WinText.h"

#include "WinSystem.h"

#include <utility>
#include <vector>

namespace marlo {

namespace {

// Both slashes separate on Windows, so a member's path and a chosen one are
// the system's path of the text the tools wrote, every name as written.
std::wstring hostPath(const FilePath& file)
{
    return win32::systemPath(file.text());
}

class WinFileSystem : public HostFileSystem {
public:
    using HostFileSystem::HostFileSystem;

    Result<std::unique_ptr<FolderHold>> HoldFolder(const std::string& folder) override
    {
        return win32::holdFolder(win32::systemPath(folder));
    }

    Result<bool> FileExists(const FilePath& path) override
    {
        return win32::regularFileExists(hostPath(path));
    }

    Result<std::unique_ptr<StagedCopy>> StageCopy(const FilePath& source,
                                                  const FilePath& destination,
                                                  const CopyOptions& options) override
    {
        return win32::stageCopy(hostPath(source), hostPath(destination), options);
    }

    Status KeepBackup(const FilePath& file, const FilePath& backup,
                      const CopyProgress& progress) override
    {
        return win32::keepBackup(hostPath(file), hostPath(backup), progress);
    }

    Status RemoveKeptBackup(const FilePath& backup) override
    {
        return win32::removeName(hostPath(backup));
    }

    Result<bool> SeparateBackup(const FilePath& file, const FilePath& backup) override
    {
        return win32::separateBackup(hostPath(file), hostPath(backup));
    }

    Status MoveFile(const FilePath& source, const FilePath& destination) override
    {
        return win32::moveNoReplace(hostPath(source), hostPath(destination));
    }

    Status SetAside(const FilePath& path, const FilePath& aside) override
    {
        return win32::setAside(hostPath(path), hostPath(aside));
    }

    Status DeleteFile(const FilePath& path, bool force) override
    {
        return win32::deleteFile(hostPath(path), force);
    }

    Status FilesNotInUse(const std::vector<FilePath>& paths) override
    {
        std::vector<std::wstring> files;
        for (const FilePath& path : paths)
            files.push_back(hostPath(path));
        return win32::refuseIfAnyInUse(files);
    }

    // Either slash ends a folder's name on Windows.
    std::string NameOf(const std::string& chosenPath) override
    {
        const auto slash = chosenPath.find_last_of("\\/");
        return slash == std::string::npos ? chosenPath : chosenPath.substr(slash + 1);
    }

    std::string ChosenPath(const std::string& chosenPath) override
    {
        return win32::chosenPathAsTaken(chosenPath);
    }

    bool IsShortcut(const FilePath& path) override
    {
        return isShortcutName(path.text(), PathForm::Windows);
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
