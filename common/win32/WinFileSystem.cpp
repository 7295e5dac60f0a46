// The file layer on Windows: the tools' paths are the system's own, names are
// compared without regard to case by the system itself, and the work goes to
// the wide-character calls.
#include "FileSystem.h"

#include "WinCopy.h"
#include "WinFileOps.h"
#include "WinInUse.h"
#include "WinPaths.h"
#include "WinText.h"

#include "WinSystem.h"

namespace marlo {

namespace {

class WinFileSystem : public FileSystem {
public:
    Result<bool> FileExists(const std::string& path) override
    {
        return win32::regularFileExists(win32::systemPath(path));
    }

    Status CopyFile(const std::string& source, const std::string& destination,
                    bool overwrite) override
    {
        return CopyFileWithProgress(source, destination, overwrite, {});
    }

    Status CopyFileWithProgress(const std::string& source, const std::string& destination,
                                bool overwrite, const CopyProgress& progress) override
    {
        return win32::copyFileCrashSafe(win32::systemPath(source), win32::systemPath(destination),
                                        {overwrite, progress});
    }

    Result<std::unique_ptr<StagedCopy>> StageCopy(const std::string& source,
                                                  const std::string& destination,
                                                  const CopyProgress& progress) override
    {
        return win32::stageCopy(win32::systemPath(source), win32::systemPath(destination),
                                {true, progress});
    }

    Status KeepBackup(const std::string& file, const std::string& backup) override
    {
        return win32::keepBackup(win32::systemPath(file), win32::systemPath(backup));
    }

    Status MoveFile(const std::string& source, const std::string& destination) override
    {
        return win32::moveNoReplace(win32::systemPath(source), win32::systemPath(destination));
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
std::unique_ptr<FileSystem> makeHostFileSystem(std::function<std::string()> /*applicationFolder*/)
{
    return std::make_unique<WinFileSystem>();
}

} // namespace marlo
