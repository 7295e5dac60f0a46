#pragma once

#include <sys/stat.h>

#include <string>

namespace marlo::posix {

// Whether a file is read-only, for root too: its owner may not write it, or
// the drive itself marks it so where the host shows that mark (an NTFS drive's
// read-only attribute, FAT's read-only attribute). `st` is the file's own
// status, links followed.
bool readOnly(const std::string& path, const struct stat& st);

} // namespace marlo::posix
