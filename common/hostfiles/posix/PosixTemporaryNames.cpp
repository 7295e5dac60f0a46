#include "PosixTemporaryNames.h"

#include "TemporaryName.h"

#include "PosixFd.h"
#include "PosixInUse.h"
#include "PosixPaths.h"
#include "PosixReadOnly.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

namespace marlo::posix {

namespace {

std::string realFolderPath(int folderFd)
{
    char path[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(folderFd);
    const ssize_t length = ::readlink(link.c_str(), path, sizeof path);
    return length > 0 && length < static_cast<ssize_t>(sizeof path)
               ? std::string(path, static_cast<std::size_t>(length))
               : std::string();
}

bool isSpared(const std::string& folder, const std::string& name, const struct stat& st,
              const Spared& spared)
{
    if (st.st_dev == spared.device && st.st_ino == spared.inode)
        return true;
    // A folder whose path cannot be read might be the source's: spared too.
    return !spared.path.empty() &&
           (folder.empty() || sameNameIgnoringCase(spared.path, folder + "/" + name));
}

} // namespace

std::string temporaryNameFor(const std::string& name)
{
    return TemporaryName<char>::forDestination(name);
}

bool isTemporaryOf(std::string_view candidate, std::string_view name)
{
    return TemporaryName<char>::isOf(candidate, name, std::equal_to<>());
}

void removeAbandonedTemporaries(int folderFd, const std::string& name, const Spared& spared)
{
    const UniqueDir dir = openListing(folderFd, ".");
    if (!dir)
        return;
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(dir.get()))
        if (isTemporaryOf(entry->d_name, name))
            candidates.emplace_back(entry->d_name);
    if (candidates.empty())
        return;

    const std::string folder = realFolderPath(folderFd);
    const std::string viaFolder = "/proc/self/fd/" + std::to_string(folderFd) + "/";
    for (const std::string& candidate : candidates) {
        const UniqueFd file(::openat(folderFd, candidate.c_str(),
                                     O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st;
        if (!file || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        // Ours are never read-only: a read-only destination is refused before
        // its temporary file is made.
        if (isSpared(folder, candidate, st, spared) || readOnly(viaFolder + candidate, st))
            continue;
        // A running copy holds its temporary file locked for its whole life.
        if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (findHolder(st.st_dev, st.st_ino, "/proc", ::getpid()))
            continue;
        struct stat now;
        if (::fstatat(folderFd, candidate.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
            now.st_dev == st.st_dev && now.st_ino == st.st_ino)
            ::unlinkat(folderFd, candidate.c_str(), 0);
    }
}

} // namespace marlo::posix
