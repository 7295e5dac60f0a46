#include "PosixInUse.h"

#include "BriefHold.h"
#include "HostErrors.h"
#include "PosixCaseFolding.h"
#include "PosixFd.h"
#include "PosixPaths.h"
#include "PosixProc.h"
#include "PosixWine.h"

#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace marlo::posix {

namespace {

enum class Access { None, Reads, Writes };

// How the descriptor `fd` of process `pid` has its file open, from the flags
// the kernel shows beside it (in octal); a descriptor whose flags cannot be
// read counts as writing.
Access accessOf(int procFd, const std::string& pid, const char* fd)
{
    const std::string info = readProcFile(procFd, pid, ("fdinfo/" + std::string(fd)).c_str());
    const std::size_t at = info.find("flags:");
    if (at == std::string::npos)
        return Access::Writes;
    const char* digits = info.c_str() + at + 6;
    while (*digits == ' ' || *digits == '\t')
        ++digits;
    unsigned flags = 0;
    const auto [end, error] = std::from_chars(digits, info.c_str() + info.size(), flags, 8);
    if (error != std::errc() || end == digits)
        return Access::Writes;
    return (flags & O_ACCMODE) == O_RDONLY ? Access::Reads : Access::Writes;
}

// Whether the process has any of the files open, and how: one descriptor
// open for writing makes it a writer.
Access holds(int procFd, const std::string& pid, const std::vector<FileId>& files)
{
    const UniqueDir fds = openListing(procFd, (pid + "/fd").c_str());
    if (!fds)
        return Access::None;
    const int fdFolder = ::dirfd(fds.get());
    Access access = Access::None;
    while (const dirent* entry = ::readdir(fds.get())) {
        if (entry->d_name[0] == '.')
            continue;
        // Follows the descriptor's link to the open file itself. The
        // attributes the kernel has at hand serve: the identity never changes,
        // and a slow or stuck network or FUSE drive that another program has
        // files open on is not asked, so it cannot hold the scan.
        struct statx st;
        if (::statx(fdFolder, entry->d_name, AT_STATX_DONT_SYNC, STATX_INO, &st) != 0)
            continue;
        const dev_t device = makedev(st.stx_dev_major, st.stx_dev_minor);
        std::optional<std::string> path; // read only for a drive that folds case
        bool open = false;
        for (const FileId& file : files) {
            if (device != file.device)
                continue;
            if (st.stx_ino == file.inode) {
                open = true;
                break;
            }
            if (file.anySpelling.empty())
                continue;
            if (!path)
                path = readLink(fdFolder, entry->d_name);
            if (sameNameIgnoringCase(*path, file.anySpelling)) {
                open = true;
                break;
            }
        }
        if (open && (access = accessOf(procFd, pid, entry->d_name)) == Access::Writes)
            break;
    }
    return access;
}

std::string commandOf(int procFd, const std::string& pid)
{
    std::string command = readProcFile(procFd, pid, "comm");
    while (!command.empty() && (command.back() == '\n' || command.back() == '\0'))
        command.pop_back();
    return command;
}

} // namespace

FileId fileIdOf(const std::string& path, const struct stat& st)
{
    FileId file{st.st_dev, st.st_ino};
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                           &std::free);
    if (real && foldsCase(real.get(), st))
        file.anySpelling = real.get();
    return file;
}

std::optional<Holder> findHolder(dev_t device, ino_t inode, const std::string& procRoot, pid_t self)
{
    return findHolderOfAny({FileId{device, inode}}, procRoot, self);
}

std::optional<Holder> findHolderOfAny(const std::vector<FileId>& files, const std::string& procRoot,
                                      pid_t self)
{
    if (files.empty())
        return std::nullopt;
    const UniqueFd proc(::open(procRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!proc)
        return std::nullopt;
    // Wine's server holds the files of the Windows programs it serves; the
    // program itself, when it holds the file too, names it better. A writer
    // is named before a reader.
    std::optional<Holder> server;
    std::optional<Holder> reader;
    std::optional<Holder> writer;
    forEachProcess(proc.get(), self, [&](pid_t pid, const std::string& name) {
        const Access access = holds(proc.get(), name, files);
        if (access == Access::None)
            return true;
        const bool onlyReads = access == Access::Reads;
        const WineProcess wine = wineProcess(proc.get(), name);
        if (wine.server) {
            if (!server || (server->onlyReads && !onlyReads))
                server = Holder{pid, windowsProgramsServedBy(proc.get(), name, self), onlyReads};
            return true;
        }
        const Holder holder{
            pid, wine.program.empty() ? commandOf(proc.get(), name) : underWine(wine.program),
            onlyReads};
        if (onlyReads) {
            if (!reader)
                reader = holder;
            return true;
        }
        writer = holder;
        return false;
    });
    if (writer)
        return writer;
    if (server && !server->onlyReads)
        return server;
    return reader ? reader : server;
}

Status refuseIfInUse(const struct stat& file)
{
    return refuseIfAnyInUse({FileId{file.st_dev, file.st_ino}});
}

Status refuseIfInUse(const std::string& path, const struct stat& file)
{
    return refuseIfAnyInUse({fileIdOf(path, file)});
}

Status refuseIfAnyInUse(const std::vector<FileId>& files)
{
    std::optional<Holder> holder;
    retryWithin(BriefHoldPatience, [&] {
        holder = findHolderOfAny(files, "/proc", ::getpid());
        return !holder || !holder->onlyReads;
    });
    if (!holder)
        return {};
    return failure(EBUSY, FileFailure::InUse, holder->command);
}

} // namespace marlo::posix
