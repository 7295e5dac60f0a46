#include "FileTestFolder.h"

#include <sys/xattr.h>

namespace marlo::test {

void markDriveReadOnly(const std::string& path, bool readOnly)
{
    // ntfs-3g shows NTFS's attributes, big-endian; bit 0 is read-only.
    constexpr const char* attributes = "system.ntfs_attrib_be";
    unsigned char bytes[4];
    if (::getxattr(path.c_str(), attributes, bytes, sizeof bytes) == sizeof bytes) {
        bytes[3] = static_cast<unsigned char>(readOnly ? bytes[3] | 1u : bytes[3] & ~1u);
        ::setxattr(path.c_str(), attributes, bytes, sizeof bytes, 0);
    }
}

} // namespace marlo::test
