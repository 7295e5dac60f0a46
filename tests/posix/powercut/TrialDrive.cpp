#include "TrialDrive.h"

#include "RunCommand.h"

#include <fcntl.h>
#include <linux/loop.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace marlo::test {

namespace {

constexpr std::uint64_t MiB = 1 << 20;

std::string attachLoopOnce(const std::string& image, int& loop, std::string& failure)
{
    const int control = ::open("/dev/loop-control", O_RDWR | O_CLOEXEC);
    const int number = control >= 0 ? ::ioctl(control, LOOP_CTL_GET_FREE) : -1;
    if (control >= 0)
        ::close(control);
    if (number < 0) {
        failure = std::string("no free loop device: ") + std::strerror(errno);
        return {};
    }
    const std::string name = "/dev/loop" + std::to_string(number);
    const int backing = ::open(image.c_str(), O_RDWR | O_CLOEXEC);
    loop = ::open(name.c_str(), O_RDWR | O_CLOEXEC);
    loop_config config{};
    config.fd = static_cast<__u32>(backing);
    config.info.lo_flags = LO_FLAGS_AUTOCLEAR;
    const bool attached = backing >= 0 && loop >= 0 && ::ioctl(loop, LOOP_CONFIGURE, &config) == 0;
    const int error = errno;
    if (!attached)
        failure = "cannot attach " + image + " to " + name + ": " + std::strerror(error);
    if (backing >= 0)
        ::close(backing);
    if (!attached && loop >= 0) {
        ::close(loop);
        loop = -1;
    }
    errno = error;
    return attached ? name : std::string();
}

// A loop device that goes by itself once its last user lets it go: the
// caller keeps `loop` open until the mount holds it. Another program may
// take the same free device first: then the next one is tried.
std::string attachLoop(const std::string& image, int& loop, std::string& failure)
{
    for (int attempt = 0; attempt < 10; ++attempt)
        if (std::string name = attachLoopOnce(image, loop, failure);
            !name.empty() || errno != EBUSY)
            return name;
    return {};
}

// A FUSE daemon goes on writing the image after its unmount returns: the
// image is whole only once no process serves the mount point any more.
void awaitFuseDaemon(const std::string& at)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        bool serving = false;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator("/proc", ignored)) {
            std::ifstream in(entry.path() / "cmdline", std::ios::binary);
            std::string words((std::istreambuf_iterator<char>(in)), {});
            for (char& c : words)
                c = c == '\0' ? ' ' : c;
            if ((words + " ").find(" " + at + " ") != std::string::npos) {
                serving = true;
                break;
            }
        }
        if (!serving)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

DriveKind unjournaled(std::string name, std::string type, std::vector<std::string> mkfs,
                      std::vector<std::string> checker, std::vector<std::string> fuse,
                      bool fuseOnLoop)
{
    DriveKind drive{std::move(name),
                    std::move(type),
                    "defaults",
                    64 * MiB,
                    std::move(mkfs),
                    std::move(checker),
                    {},
                    false,
                    true};
    drive.fuse = std::move(fuse);
    drive.fuseOnLoop = fuseOnLoop;
    drive.journaled = false;
    return drive;
}

} // namespace

const std::vector<DriveKind>& unjournaledDrives()
{
    static const std::vector<DriveKind> drives{
        unjournaled("vfat", "vfat", {"mkfs.vfat", "-F", "32"}, {"fsck.vfat", "-n"},
                    {"fusefat", "-o", "rw+"}, false),
        unjournaled("exfat", "exfat", {"mkfs.exfat"}, {"fsck.exfat", "-n"}, {"mount.exfat-fuse"},
                    true),
    };
    return drives;
}

const std::vector<DriveKind>& trialDrives()
{
    // ext4's inode tables and journal are written whole when it is made, so
    // that no background zeroing runs among the operation's writes.
    static const std::vector<std::string> mkfsExt4{"mkfs.ext4", "-q", "-F", "-E",
                                                   "lazy_itable_init=0,lazy_journal_init=0"};
    static const std::vector<DriveKind> drives{
        {"ext4", "ext4", "defaults", 64 * MiB, mkfsExt4, {"e2fsck", "-f", "-n"}, {}, false, true},
        {"ext4-noauto_da_alloc",
         "ext4",
         "noauto_da_alloc",
         64 * MiB,
         mkfsExt4,
         {"e2fsck", "-f", "-n"},
         {},
         false,
         true},
        {"xfs",
         "xfs",
         "defaults",
         300 * MiB,
         {"mkfs.xfs", "-q", "-f"},
         {"xfs_repair", "-n", "-f"},
         {},
         false,
         true},
        {"btrfs",
         "btrfs",
         "defaults",
         256 * MiB,
         {"mkfs.btrfs", "-q", "-f"},
         {"btrfs", "check", "--readonly"},
         {},
         false,
         true},
    };
    return drives;
}

std::string missingDriveTools()
{
    std::string missing;
    for (const char* tool :
         {"mkfs.ext4", "e2fsck", "mkfs.xfs", "xfs_repair", "mkfs.btrfs", "btrfs", "mkfs.vfat",
          "fsck.vfat", "fusefat", "mkfs.exfat", "fsck.exfat", "mount.exfat-fuse"})
        if (!onPath(tool))
            missing += std::string(tool) + "\n";
    return missing;
}

MountedImage::MountedImage(const DriveKind& drive, const std::string& image, const std::string& at)
    : at_(at)
{
    int loopFd = -1;
    if (!drive.fuse.empty()) {
        fuse_ = true;
        const std::string device = drive.fuseOnLoop ? attachLoop(image, loopFd, failure_) : image;
        if (device.empty())
            return;
        std::vector<std::string> command = drive.fuse;
        command.insert(command.end(), {device, at});
        const CommandResult ran = runCommand(command, 30);
        mounted_ = ran.ok();
        if (!mounted_)
            failure_ = command[0] + " failed: " + ran.output;
        if (loopFd >= 0)
            ::close(loopFd);
        return;
    }
    const std::string loop = attachLoop(image, loopFd, failure_);
    if (loop.empty())
        return;
    const std::string options = drive.options == "defaults" ? "" : drive.options;
    mounted_ = ::mount(loop.c_str(), at.c_str(), drive.type.c_str(), MS_NOSUID | MS_NODEV,
                       options.c_str()) == 0;
    if (!mounted_)
        failure_ = "mount failed: " + std::string(std::strerror(errno));
    ::close(loopFd);
}

MountedImage::~MountedImage()
{
    unmount();
}

std::string MountedImage::unmount()
{
    if (!mounted_)
        return {};
    mounted_ = false;
    if (::umount2(at_.c_str(), 0) == 0) {
        if (fuse_)
            awaitFuseDaemon(at_);
        return {};
    }
    const std::string why = std::string("umount failed: ") + std::strerror(errno);
    ::umount2(at_.c_str(), MNT_DETACH);
    return why;
}

std::string makePristine(const DriveKind& drive, const std::string& image,
                         const std::string& mountPoint,
                         const std::map<std::string, std::string>& files)
{
    std::filesystem::remove(image);
    std::ofstream(image).close();
    // Only the file system's own size: the last MiB is the marks'. FAT and
    // exFAT take the size of what they are made on.
    const bool sizedByImage = drive.type == "vfat" || drive.type == "exfat";
    std::filesystem::resize_file(image, sizedByImage ? drive.fsBytes : drive.imageBytes());
    std::vector<std::string> mkfs = drive.mkfs;
    mkfs.push_back(image);
    if (drive.type == "xfs")
        mkfs.insert(mkfs.end() - 1, {"-d", "size=" + std::to_string(drive.fsBytes)});
    else if (drive.type == "btrfs")
        mkfs.insert(mkfs.end() - 1, {"-b", std::to_string(drive.fsBytes)});
    else if (!sizedByImage)
        mkfs.push_back(std::to_string(drive.fsBytes / 1024) + "k");
    if (CommandResult made = runCommand(mkfs); !made.ok())
        return mkfs[0] + " failed: " + made.output;
    std::filesystem::resize_file(image, drive.imageBytes());

    MountedImage mounted(drive, image, mountPoint);
    if (!mounted.failure().empty())
        return mounted.failure();
    for (const auto& [path, content] : files) {
        const std::filesystem::path file = std::filesystem::path(mountPoint) / path;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    ::sync();
    return mounted.unmount();
}

std::string checkDrive(const DriveKind& drive, const std::string& image)
{
    std::vector<std::string> command = drive.checker;
    command.push_back(image);
    CommandResult checked = runCommand(command, 120);
    return checked.ok()
               ? std::string()
               : command[0] + " (" + std::to_string(checked.status) + "): " + checked.output;
}

} // namespace marlo::test
