#include "PosixReadOnly.h"

#include "PosixFd.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/statfs.h>
#include <sys/xattr.h>

#include <cstdint>

namespace marlo::posix {

namespace {

constexpr std::uint32_t ReadOnlyAttribute = 0x1; // the same bit on NTFS and FAT

// ntfs-3g shows a file's attributes, big-endian, under this name; the driver
// itself lets root write such a file, so the mark must be read by hand.
bool ntfsMarksReadOnly(const std::string& path)
{
    unsigned char bytes[4];
    if (::getxattr(path.c_str(), "system.ntfs_attrib_be", bytes, sizeof bytes) != sizeof bytes)
        return false;
    const std::uint32_t attributes = std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
                                     std::uint32_t{bytes[2]} << 8 | bytes[3];
    return (attributes & ReadOnlyAttribute) != 0;
}

// The kernel's FAT driver answers with the attributes themselves.
bool fatMarksReadOnly(const std::string& path)
{
    struct statfs drive;
    if (::statfs(path.c_str(), &drive) != 0 || drive.f_type != MSDOS_SUPER_MAGIC)
        return false;
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    std::uint32_t attributes = 0;
    return file && ::ioctl(file.get(), FAT_IOCTL_GET_ATTRIBUTES, &attributes) == 0 &&
           (attributes & ReadOnlyAttribute) != 0;
}

} // namespace

bool readOnly(const std::string& path, const struct stat& st)
{
    if ((st.st_mode & S_IWUSR) == 0)
        return true;
    return S_ISREG(st.st_mode) && (ntfsMarksReadOnly(path) || fatMarksReadOnly(path));
}

} // namespace marlo::posix
