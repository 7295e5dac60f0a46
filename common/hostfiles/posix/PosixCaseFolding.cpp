#include "PosixCaseFolding.h"

#include "PosixPaths.h"
#include "PosixProc.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/vfs.h>

#include <algorithm>
#include <optional>
#include <string_view>

namespace marlo::posix {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// How the folder lists `name`: exactly where it does, else the lowest in
// byte order of the spellings that differ only in case; nothing otherwise.
std::optional<std::string> listedSpelling(const std::string& folder, std::string_view name)
{
    UniqueDir dir(::opendir(folder.c_str()));
    if (!dir)
        return std::nullopt;
    std::optional<std::string> found;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view listed(entry->d_name);
        if (listed == name)
            return std::string(listed);
        if (sameNameIgnoringCase(listed, name) && (!found || listed < *found))
            found = std::string(listed);
    }
    return found;
}

bool listsBoth(const std::string& folder, std::string_view one, std::string_view other)
{
    UniqueDir dir(::opendir(folder.c_str()));
    if (!dir)
        return false;
    bool listedOne = false, listedOther = false;
    while (const dirent* entry = ::readdir(dir.get())) {
        listedOne = listedOne || one == entry->d_name;
        listedOther = listedOther || other == entry->d_name;
    }
    return listedOne && listedOther;
}

} // namespace

bool foldsCase(const std::string& path, const struct stat& st)
{
    // The last name in the path with a letter in it, spelled the other way.
    const auto letter = std::find_if(path.rbegin(), path.rend(), isLetter);
    if (letter == path.rend())
        return false;
    const std::size_t at = path.size() - 1 - static_cast<std::size_t>(letter - path.rbegin());
    const std::size_t start = path.rfind('/', at) + 1;
    const std::size_t end = std::min(path.find('/', at), path.size());
    std::string swapped = path;
    for (std::size_t i = start; i < end; ++i)
        if (isLetter(swapped[i]))
            swapped[i] ^= 'a' ^ 'A';

    // A drive that keeps case has no such name, or has both as entries of
    // their own; a FUSE drive that folds case answers it with an inode of its
    // own but lists at most one of the two.
    struct stat other;
    if (::lstat(swapped.c_str(), &other) != 0 || other.st_dev != st.st_dev)
        return false;
    if (other.st_ino == st.st_ino)
        return true;
    return !listsBoth(folderOf(swapped.substr(0, end)), path.substr(start, end - start),
                      swapped.substr(start, end - start));
}

std::string spelledAsListed(const std::string& path)
{
    std::string spelled;
    for (std::size_t start = 1; start < path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view name = std::string_view(path).substr(start, end - start);
        if (!name.empty()) {
            const auto listed = listedSpelling(spelled.empty() ? "/" : spelled, name);
            spelled += '/';
            spelled += listed ? *listed : name;
        }
        start = end + 1;
    }
    return spelled.empty() ? "/" : spelled;
}

UniqueFd openAsListed(int folderFd)
{
    // Kernel drives keep one inode per folder however it is spelled; only
    // FUSE drivers number a folder by the name it was looked up under.
    struct statfs drive;
    if (::fstatfs(folderFd, &drive) == 0 && drive.f_type == FUSE_SUPER_MAGIC) {
        const std::string path =
            readLink(AT_FDCWD, ("/proc/self/fd/" + std::to_string(folderFd)).c_str());
        UniqueFd listed;
        if (path.starts_with('/'))
            listed =
                UniqueFd(::open(spelledAsListed(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (listed)
            return listed;
    }
    return UniqueFd(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

} // namespace marlo::posix
