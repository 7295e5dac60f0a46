#include "PosixTemporaryNames.h"

#include "PosixFd.h"
#include "PosixInUse.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <random>
#include <vector>

namespace marlo::posix {

namespace {

constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::size_t RandomLetters = 6;
constexpr std::string_view Ending = ".tmp";
// ".<name>.XXXXXX.tmp" must fit the host's 255 bytes of a name.
constexpr std::size_t MaxNameInTemporary = 255 - 12;

bool isLetter(char c)
{
    return std::string_view(Letters).find(c) != std::string_view::npos;
}

} // namespace

std::string temporaryNameFor(const std::string& name)
{
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof Letters - 2);
    std::string temporary(1, '.');
    temporary.append(name, 0, MaxNameInTemporary);
    temporary += '.';
    for (std::size_t i = 0; i < RandomLetters; ++i)
        temporary += Letters[pick(generator)];
    return temporary += Ending;
}

bool isTemporaryName(std::string_view name)
{
    constexpr std::size_t tail = 1 + RandomLetters + Ending.size();
    if (name.size() < 2 + tail || name.front() != '.' || !name.ends_with(Ending))
        return false;
    const std::string_view random = name.substr(name.size() - Ending.size() - RandomLetters);
    return name[name.size() - tail] == '.' &&
           std::all_of(random.begin(), random.begin() + RandomLetters, isLetter);
}

void removeAbandonedTemporaries(int folderFd)
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
        if (isTemporaryName(entry->d_name))
            candidates.emplace_back(entry->d_name);

    for (const std::string& name : candidates) {
        const UniqueFd file(::openat(folderFd, name.c_str(),
                                     O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st;
        if (!file || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        // A running copy holds its temporary file locked for its whole life.
        if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (!refuseIfInUse(st))
            continue;
        struct stat now;
        if (::fstatat(folderFd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
            now.st_dev == st.st_dev && now.st_ino == st.st_ino)
            ::unlinkat(folderFd, name.c_str(), 0);
    }
}

} // namespace marlo::posix
