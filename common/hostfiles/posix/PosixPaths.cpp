#include "PosixPaths.h"

#include "FileSystem.h"
#include "HostErrors.h"
#include "PosixFd.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace marlo::posix {

std::string folderOf(std::string_view path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return ".";
    return std::string(path.substr(0, slash == 0 ? 1 : slash));
}

namespace {

std::string join(const std::string& folder, std::string_view name)
{
    std::string path = folder;
    if (!path.ends_with('/'))
        path += '/';
    path += name;
    return path;
}

} // namespace

HostPath hostPath(const FilePath& file)
{
    if (!file.isMember())
        return HostPath{file.text(), false, {}, {}};
    return HostPath{join(file.folder(), file.name()), true, file.folder(), file.name()};
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

Result<Located> locate(const HostPath& path)
{
    struct stat st;
    if (::lstat(path.path.c_str(), &st) == 0)
        return Located{path.path, true};
    // A literal path is only itself; for a member a failure other than "no
    // such name" will show again in the operation's own calls.
    if (!path.member || errno != ENOENT)
        return Located{path.path, false};

    UniqueDir dir(::opendir(path.folder.c_str()));
    if (!dir) {
        if (errno == ENOENT || errno == ENOTDIR)
            return Located{path.path, false};
        return failure(errno);
    }
    std::optional<std::string> found;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (sameNameIgnoringCase(name, path.name) && (!found || name < *found))
            found = std::string(name);
    }
    if (errno != 0)
        return failure(errno);
    if (!found)
        return Located{path.path, false};
    return Located{join(path.folder, *found), true};
}

} // namespace marlo::posix

namespace marlo {

std::string hostApplicationFolder()
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
        if (length < 0)
            return "."; // no /proc: the current folder is the best guess left
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return posix::folderOf(target);
        }
        target.resize(target.size() * 2);
    }
}

} // namespace marlo
