#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

namespace marlo::test {

// A drive of its own, mounted on an empty folder for one test: a small tmpfs,
// or a ramfs (which cannot reserve space ahead). The test process moves to
// a mount namespace of its own first where it may, so that nothing stays
// mounted should it die. Mounting needs privilege; `whyNot` says what
// stood in the way.
class MountedDrive {
public:
    MountedDrive(const std::string& at, const char* type, const std::string& options) : at_(at)
    {
        static const bool ownNamespace =
            ::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        (void)ownNamespace;
        if (::mount(type, at.c_str(), type, MS_NOSUID | MS_NODEV, options.c_str()) == 0)
            mounted_ = true;
        else
            whyNot_ = std::string("mount -t ") + type + " failed: " + std::strerror(errno);
    }
    ~MountedDrive()
    {
        if (mounted_)
            ::umount2(at_.c_str(), MNT_DETACH);
    }
    MountedDrive(const MountedDrive&) = delete;
    MountedDrive& operator=(const MountedDrive&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& whyNot() const { return whyNot_; }

private:
    std::string at_;
    bool mounted_ = false;
    std::string whyNot_;
};

// Limits the size of every file this process writes, for as long as it
// lives; SIGXFSZ is ignored meanwhile so that a write past it fails with
// EFBIG instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{bytes < old_.rlim_max ? bytes : old_.rlim_max, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

} // namespace marlo::test
