#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace marlo::posix {

// Owns one file descriptor and closes it when it goes. A file that was
// written is closed with close() instead, whose outcome then counts.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

    // Closes now; answers 0 or the errno of close().
    int close()
    {
        const int fd = std::exchange(fd_, -1);
        if (fd < 0 || ::close(fd) == 0)
            return 0;
        return errno;
    }
    void reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

// Owns one open folder listing.
class UniqueDir {
public:
    UniqueDir() = default;
    explicit UniqueDir(DIR* dir) : dir_(dir) {}
    UniqueDir(UniqueDir&& other) noexcept : dir_(std::exchange(other.dir_, nullptr)) {}
    UniqueDir& operator=(UniqueDir&& other) noexcept
    {
        if (this != &other) {
            reset();
            dir_ = std::exchange(other.dir_, nullptr);
        }
        return *this;
    }
    UniqueDir(const UniqueDir&) = delete;
    UniqueDir& operator=(const UniqueDir&) = delete;
    ~UniqueDir() { reset(); }

    DIR* get() const { return dir_; }
    explicit operator bool() const { return dir_ != nullptr; }
    void reset()
    {
        if (dir_)
            ::closedir(dir_);
        dir_ = nullptr;
    }

private:
    DIR* dir_ = nullptr;
};

// The listing of the folder at `path` under `folderFd` ("." for that folder
// itself), on a descriptor of its own; empty where it cannot be opened.
inline UniqueDir openListing(int folderFd, const char* path)
{
    const int listing = ::openat(folderFd, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return {};
    DIR* dir = ::fdopendir(listing);
    if (!dir)
        ::close(listing);
    return UniqueDir(dir);
}

// Retries a call that a signal interrupted.
template <class Call> auto retryOnInterrupt(Call call)
{
    for (;;) {
        auto result = call();
        if (result != -1 || errno != EINTR)
            return result;
    }
}

} // namespace marlo::posix
