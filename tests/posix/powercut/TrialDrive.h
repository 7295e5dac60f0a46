#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace marlo::test {

// A kind of drive the trial runs on: how it is made, mounted and checked.
struct DriveKind {
    std::string name;                 // as the trial prints it
    std::string type;                 // the kernel's file system
    std::string options;              // mount options, in the guest and on the host
    std::uint64_t fsBytes;            // the file system; the image has one MiB more for marks
    std::vector<std::string> mkfs;    // the image's path follows
    std::vector<std::string> checker; // the image's path follows; 0 means clean
    // Mounted on the host through FUSE where its kernel driver is missing
    // here: this command, then the image (a loop device of it when
    // `fuseOnLoop`) and the mount point. Empty: the host's kernel mounts it.
    std::vector<std::string> fuse;
    bool fuseOnLoop = false;
    // Without a journal nothing promises a whole state after a power cut:
    // its bad states are counted, not failed.
    bool journaled = true;

    std::uint64_t markOffset() const { return fsBytes; }
    std::uint64_t imageBytes() const { return fsBytes + (1 << 20); }
};

// ext4 with its defaults and with noauto_da_alloc, XFS and btrfs.
const std::vector<DriveKind>& trialDrives();

// FAT and exFAT as the guest's kernel drives them (what a desktop mounts a
// stick with), judged on the host through FUSE: measured, not promised.
const std::vector<DriveKind>& unjournaledDrives();

// The programs that make and check the drives, one per line, that are not
// installed; empty when every one is.
std::string missingDriveTools();

// The image mounted read-write on a loop device, as a reboot would mount it
// (a journal is replayed), in a folder of its own, until it goes.
class MountedImage {
public:
    MountedImage(const DriveKind& drive, const std::string& image, const std::string& at);
    ~MountedImage();
    MountedImage(const MountedImage&) = delete;
    MountedImage& operator=(const MountedImage&) = delete;

    // Empty when mounted; what failed otherwise.
    const std::string& failure() const { return failure_; }
    // Unmounts now; answers what failed, if anything.
    std::string unmount();

private:
    std::string at_, failure_;
    bool mounted_ = false, fuse_ = false;
};

// A fresh image of the drive at `image`, with `files` (path in the drive ->
// content) laid out on it. Answers what failed, if anything.
std::string makePristine(const DriveKind& drive, const std::string& image,
                         const std::string& mountPoint,
                         const std::map<std::string, std::string>& files);

// Runs the drive's own checker on the unmounted image: empty when it finds
// the drive clean, its report otherwise.
std::string checkDrive(const DriveKind& drive, const std::string& image);

} // namespace marlo::test
