#include "PosixTemporaryNames.h"

#include "PosixFd.h"
#include "PosixInUse.h"
#include "PosixPaths.h"
#include "PosixReadOnly.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

namespace marlo::posix {

namespace {

constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::size_t RandomLetters = 6;
constexpr std::string_view Marker = ".~marlo-";
constexpr std::string_view Ending = ".tmp";
// The whole temporary name must fit the host's 255 bytes of a name.
constexpr std::size_t MaxNameInTemporary = 255 - 1 - Marker.size() - RandomLetters - Ending.size();

bool isLetter(char c)
{
    return std::string_view(Letters).find(c) != std::string_view::npos;
}

// ".<name>.~marlo-": a long name is cut, before a character rather than
// inside one, since a drive that stores names as text refuses broken ones.
std::string prefixFor(std::string_view name)
{
    std::size_t cut = std::min(name.size(), MaxNameInTemporary);
    while (cut > 0 && cut < name.size() && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    std::string prefix(1, '.');
    prefix += name.substr(0, cut);
    prefix += Marker;
    return prefix;
}

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
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof Letters - 2);
    std::string temporary = prefixFor(name);
    for (std::size_t i = 0; i < RandomLetters; ++i)
        temporary += Letters[pick(generator)];
    return temporary += Ending;
}

bool isTemporaryOf(std::string_view candidate, std::string_view name)
{
    const std::string prefix = prefixFor(name);
    if (candidate.size() != prefix.size() + RandomLetters + Ending.size() ||
        !candidate.starts_with(prefix) || !candidate.ends_with(Ending))
        return false;
    const std::string_view random = candidate.substr(prefix.size(), RandomLetters);
    return std::all_of(random.begin(), random.end(), isLetter);
}

void removeAbandonedTemporaries(int folderFd, const std::string& name, const Spared& spared)
{
    const int listing = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return;
    UniqueDir dir(::fdopendir(listing));
    if (!dir) {
        ::close(listing);
        return;
    }
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
        if (!refuseIfInUse(st))
            continue;
        struct stat now;
        if (::fstatat(folderFd, candidate.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
            now.st_dev == st.st_dev && now.st_ino == st.st_ino)
            ::unlinkat(folderFd, candidate.c_str(), 0);
    }
}

} // namespace marlo::posix
