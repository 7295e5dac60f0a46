// The file layer on Linux: maps the tools' files to host paths, finds members
// under any capitalisation, and hands the work to the Posix calls.
#include "HostFileSystem.h"

#include "HostErrors.h"
#include "PosixCopy.h"
#include "PosixFileOps.h"
#include "PosixFolderLock.h"
#include "PosixInUse.h"
#include "PosixPaths.h"
#include "PosixSessionEnd.h"

#include <sys/stat.h>

#include <cerrno>
#include <utility>
#include <vector>

namespace marlo {

namespace {

class PosixFileSystem : public HostFileSystem {
public:
    using HostFileSystem::HostFileSystem;

    Result<std::unique_ptr<FolderHold>> HoldFolder(const std::string& folder) override
    {
        return posix::holdFolder(folder);
    }

    Result<bool> FileExists(const FilePath& path) override
    {
        const auto found = locate(path);
        if (!found)
            return found.status();
        return posix::regularFileExists(found.value().path);
    }

    Result<std::unique_ptr<StagedCopy>> StageCopy(const FilePath& source,
                                                  const FilePath& destination,
                                                  const CopyOptions& options) override
    {
        // An existing member keeps the capitalisation it has; a new one takes
        // the form the tools gave.
        const auto from = locate(source);
        if (!from)
            return from.status();
        const auto to = locate(destination);
        if (!to)
            return to.status();
        return posix::stageCopy(from.value().path, to.value().path, options);
    }

    Status KeepBackup(const FilePath& file, const FilePath& backup,
                      const CopyProgress& progress) override
    {
        return toFreeName(file, backup,
                          [&progress](const std::string& from, const std::string& to) {
                              return posix::keepBackup(from, to, progress);
                          });
    }

    Status RemoveKeptBackup(const FilePath& backup) override
    {
        const auto found = locate(backup);
        if (!found)
            return found.status();
        return posix::removeName(found.value().path);
    }

    Result<bool> SeparateBackup(const FilePath& file, const FilePath& backup) override
    {
        const auto live = locate(file);
        if (!live)
            return live.status();
        const auto kept = locate(backup);
        if (!kept)
            return kept.status();
        if (!live.value().exists || !kept.value().exists)
            return false;
        return posix::separateBackup(live.value().path, kept.value().path);
    }

    Status MoveFile(const FilePath& source, const FilePath& destination) override
    {
        return toFreeName(source, destination, posix::moveNoReplace);
    }

    Status SetAside(const FilePath& path, const FilePath& aside) override
    {
        return toFreeName(path, aside, posix::setAside);
    }

    Status DeleteFile(const FilePath& path, bool force) override
    {
        const auto found = locate(path);
        if (!found)
            return found.status();
        return posix::deleteFile(found.value().path, force);
    }

    Status FilesNotInUse(const std::vector<FilePath>& paths) override
    {
        std::vector<posix::FileId> files;
        for (const FilePath& path : paths) {
            const auto found = locate(path);
            struct stat st;
            if (found && found.value().exists && ::stat(found.value().path.c_str(), &st) == 0)
                files.push_back(posix::fileIdOf(found.value().path, st));
        }
        return posix::refuseIfAnyInUse(files);
    }

    // A backslash is a character of a Linux name.
    std::string NameOf(const std::string& chosenPath) override
    {
        const auto slash = chosenPath.find_last_of('/');
        return slash == std::string::npos ? chosenPath : chosenPath.substr(slash + 1);
    }

private:
    // A move or a backup onto a name that must be free. A name is taken
    // under any capitalisation; the operation itself refuses the exact form
    // atomically, should it appear meanwhile.
    template <class Operation>
    Status toFreeName(const FilePath& source, const FilePath& destination, Operation operation)
    {
        const auto from = locate(source);
        if (!from)
            return from.status();
        const posix::HostPath to = posix::hostPath(destination);
        const auto taken = posix::locate(to);
        if (!taken)
            return taken.status();
        if (taken.value().exists)
            return failure(EEXIST, FileFailure::NewNameTaken);
        return operation(from.value().path, to.path);
    }

    static Result<posix::Located> locate(const FilePath& path)
    {
        return posix::locate(posix::hostPath(path));
    }
};

} // namespace

std::unique_ptr<FileSystem> makeHostFileSystem(std::function<std::string()> applicationFolder)
{
    posix::endOnSessionSignals();
    return std::make_unique<PosixFileSystem>(std::move(applicationFolder));
}

// Linux virtualises nothing.
std::unique_ptr<FileSystem> filesAsMainProgramSees(std::unique_ptr<FileSystem> host)
{
    return host;
}

} // namespace marlo
