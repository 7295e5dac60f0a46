// The file layer on Linux: turns the tools' paths into host paths, finds
// members under any capitalisation, and hands the work to the Posix calls.
#include "HostFileSystem.h"

#include "PosixCopy.h"
#include "PosixErrors.h"
#include "PosixFileOps.h"
#include "PosixInUse.h"
#include "PosixPaths.h"

#include <sys/stat.h>

#include <cerrno>
#include <utility>

namespace marlo {

namespace {

class PosixFileSystem : public HostFileSystem {
public:
    using HostFileSystem::HostFileSystem;

    Result<bool> FileExists(const std::string& path) override
    {
        const auto found = locate(path, ApplicationFolder());
        if (!found)
            return found.status();
        return posix::regularFileExists(found.value().path);
    }

    Result<std::unique_ptr<StagedCopy>> StageCopy(const std::string& source,
                                                  const std::string& destination,
                                                  const CopyOptions& options) override
    {
        const auto ends = locateEnds(source, destination);
        if (!ends)
            return ends.status();
        return posix::stageCopy(ends.value().first, ends.value().second, options);
    }

    Status KeepBackup(const std::string& file, const std::string& backup) override
    {
        return toFreeName(file, backup, posix::keepBackup);
    }

    Status RemoveKeptBackup(const std::string& backup) override
    {
        const auto found = locate(backup, ApplicationFolder());
        if (!found)
            return found.status();
        return posix::removeName(found.value().path);
    }

    Status MoveFile(const std::string& source, const std::string& destination) override
    {
        return toFreeName(source, destination, posix::moveNoReplace);
    }

    Status SetAside(const std::string& path, const std::string& aside) override
    {
        return toFreeName(path, aside, posix::setAside);
    }

    Status DeleteFile(const std::string& path, bool force) override
    {
        const auto found = locate(path, ApplicationFolder());
        if (!found)
            return found.status();
        return posix::deleteFile(found.value().path, force);
    }

    Status FilesNotInUse(const std::vector<std::string>& paths) override
    {
        const std::string folder = ApplicationFolder();
        std::vector<posix::FileId> files;
        for (const std::string& path : paths) {
            const auto found = locate(path, folder);
            struct stat st;
            if (found && found.value().exists && ::stat(found.value().path.c_str(), &st) == 0)
                files.push_back(posix::fileIdOf(found.value().path, st));
        }
        return posix::refuseIfAnyInUse(files);
    }

    std::string NameOf(const std::string& path) override
    {
        const auto slash = path.find_last_of('/');
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }

private:
    // The host paths of a copy's source and destination. An existing member
    // keeps the capitalisation it has; a new one takes the form the tools
    // gave.
    Result<std::pair<std::string, std::string>> locateEnds(const std::string& source,
                                                           const std::string& destination)
    {
        const std::string folder = ApplicationFolder();
        const auto from = locate(source, folder);
        if (!from)
            return from.status();
        const auto to = locate(destination, folder);
        if (!to)
            return to.status();
        return std::pair{from.value().path, to.value().path};
    }

    // A move or a backup onto a name that must be free. A name is taken
    // under any capitalisation; the operation itself refuses the exact form
    // atomically, should it appear meanwhile.
    template <class Operation>
    Status toFreeName(const std::string& source, const std::string& destination,
                      Operation operation)
    {
        const std::string folder = ApplicationFolder();
        const auto from = locate(source, folder);
        if (!from)
            return from.status();
        const posix::HostPath to = posix::toHostPath(destination, folder);
        const auto taken = posix::locate(to);
        if (!taken)
            return taken.status();
        if (taken.value().exists)
            return posix::failure(EEXIST, FileFailure::NewNameTaken);
        return operation(from.value().path, to.path);
    }

    static Result<posix::Located> locate(const std::string& path, const std::string& folder)
    {
        return posix::locate(posix::toHostPath(path, folder));
    }
};

} // namespace

std::unique_ptr<FileSystem> makeHostFileSystem(std::function<std::string()> applicationFolder)
{
    return std::make_unique<PosixFileSystem>(std::move(applicationFolder));
}

} // namespace marlo
