#pragma once

#include "ExecCommand.h"

#include <fcntl.h>
#include <linux/loop.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace marlo::test {

// Runs a program to its end with its output dropped; answers whether it
// succeeded.
inline bool runQuietly(const std::vector<std::string>& command,
                       const std::vector<std::string>& environment = {})
{
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 1);
        ::dup2(null, 2);
        execCommand(command, environment);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// A drive of a given kind made on a small sparse image under /tmp and mounted
// for one test: ext4, xfs, btrfs (the kernel's drivers, on a loop device),
// ntfs (ntfs-3g), fat (fusefat), exfat (exfat-fuse), or tmpfs. Everything is
// undone when it goes: unmounted, the loop device let go, the image removed.
// The process moves to a mount namespace of its own first, and the FUSE
// drivers run as its children told to end with it, so that a test killed
// midway leaves no mount and no loop device behind. `whyNot` says what
// stood in the way of a drive that could not be made.
class DriveImage {
public:
    explicit DriveImage(const std::string& kind) : kind_(kind)
    {
        static const bool ownNamespace =
            ::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        if (!ownNamespace) {
            whyNot_ = "no mount namespace of its own (not root?)";
            return;
        }
        std::string folder = "/tmp/marlo-drive-XXXXXX";
        if (!::mkdtemp(folder.data())) {
            whyNot_ = "no folder under /tmp";
            return;
        }
        folder_ = folder;
        image_ = folder_ + "/drive.img";
        mountPoint_ = folder_ + "/mnt";
        std::filesystem::create_directory(mountPoint_);
        mounted_ = make();
    }
    ~DriveImage()
    {
        if (mounted_ && ::umount2(mountPoint_.c_str(), 0) != 0)
            ::umount2(mountPoint_.c_str(), MNT_DETACH);
        if (driver_ > 0) {
            // A FUSE driver ends once its drive is unmounted.
            waitOrKill(driver_);
        }
        if (loop_ >= 0) {
            ::ioctl(loop_, LOOP_CLR_FD, 0);
            ::close(loop_);
        }
        if (!folder_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(folder_, ignored);
        }
    }
    DriveImage(const DriveImage&) = delete;
    DriveImage& operator=(const DriveImage&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& whyNot() const { return whyNot_; }
    const std::string& path() const { return mountPoint_; }

private:
    static constexpr auto ImageSize = std::uintmax_t{256} << 20; // sparse: only what is used

    bool make()
    {
        if (kind_ == "tmpfs")
            return mountKernel("tmpfs", "tmpfs", "size=256m");
        std::ofstream(image_).close();
        std::filesystem::resize_file(image_, ImageSize);
        if (kind_ == "ext4")
            return format({"mkfs.ext4", "-q", "-F", image_}) && mountLoop("ext4");
        if (kind_ == "xfs")
            return format({"mkfs.xfs", "-q", "-f", image_}) && mountLoop("xfs");
        if (kind_ == "btrfs")
            return format({"mkfs.btrfs", "-q", "-f", image_}) && mountLoop("btrfs");
        if (kind_ == "ntfs")
            return format({"mkntfs", "-q", "-F", "-f", image_}) &&
                   startDriver({"ntfs-3g", "-o", "no_detach", image_, mountPoint_});
        if (kind_ == "fat")
            return format({"mkfs.vfat", image_}) &&
                   startDriver({"fusefat", "-f", "-o", "rw+", image_, mountPoint_});
        if (kind_ == "exfat")
            return format({"mkfs.exfat", image_}) && attachLoop() &&
                   startDriver({"mount.exfat-fuse", "-d", loopName_, mountPoint_});
        whyNot_ = "unknown drive kind";
        return false;
    }

    bool format(const std::vector<std::string>& command)
    {
        if (runQuietly(command, {"TEST_DIR=1", "TEST_DEV=1", "QA_CHECK_FS=1"}))
            return true;
        whyNot_ = command[0] + " failed or is not installed";
        return false;
    }

    bool mountKernel(const char* type, const std::string& source, const std::string& options)
    {
        if (::mount(source.c_str(), mountPoint_.c_str(), type, MS_NOSUID | MS_NODEV,
                    options.c_str()) == 0)
            return true;
        whyNot_ = std::string("mount -t ") + type + " failed: " + std::strerror(errno);
        return false;
    }

    bool mountLoop(const char* type) { return attachLoop() && mountKernel(type, loopName_, ""); }

    // A loop device that detaches itself once its last user lets it go.
    bool attachLoop()
    {
        const int control = ::open("/dev/loop-control", O_RDWR | O_CLOEXEC);
        const int number = control >= 0 ? ::ioctl(control, LOOP_CTL_GET_FREE) : -1;
        if (control >= 0)
            ::close(control);
        const int backing = ::open(image_.c_str(), O_RDWR | O_CLOEXEC);
        if (number >= 0 && backing >= 0) {
            loopName_ = "/dev/loop" + std::to_string(number);
            loop_ = ::open(loopName_.c_str(), O_RDWR | O_CLOEXEC);
            loop_config config{};
            config.fd = static_cast<__u32>(backing);
            config.info.lo_flags = LO_FLAGS_AUTOCLEAR;
            if (loop_ >= 0 && ::ioctl(loop_, LOOP_CONFIGURE, &config) != 0) {
                ::close(loop_);
                loop_ = -1;
            }
        }
        if (backing >= 0)
            ::close(backing);
        if (loop_ >= 0)
            return true;
        whyNot_ = std::string("no loop device: ") + std::strerror(errno);
        return false;
    }

    bool startDriver(const std::vector<std::string>& command)
    {
        driver_ = ::fork();
        if (driver_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
            test::execCommand(command, {});
        }
        // Mounted once the folder lies on another drive than its parent.
        struct stat parent, at;
        ::stat(folder_.c_str(), &parent);
        for (int tries = 0; tries < 200; ++tries) {
            if (::stat(mountPoint_.c_str(), &at) == 0 && at.st_dev != parent.st_dev)
                return true;
            int status = 0;
            if (::waitpid(driver_, &status, WNOHANG) == driver_) {
                driver_ = -1;
                whyNot_ = command[0] + " could not mount the image (not installed, or no FUSE)";
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        whyNot_ = command[0] + " did not mount the image within 10 s";
        return false;
    }

    static void waitOrKill(pid_t child)
    {
        for (int tries = 0; tries < 100; ++tries) {
            if (::waitpid(child, nullptr, WNOHANG) == child)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }

    std::string kind_, folder_, image_, mountPoint_, loopName_;
    bool mounted_ = false;
    std::string whyNot_;
    pid_t driver_ = -1;
    int loop_ = -1;
};

} // namespace marlo::test
