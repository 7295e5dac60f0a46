#pragma once

#include "PosixFd.h"

#include <sys/stat.h>

#include <string>

namespace marlo::posix {

// Drives that fold the case of names (FAT, exFAT) find one entry under every
// spelling of its name. Through FUSE they give each spelling an inode of its
// own, so neither the numbers nor a lock taken on one spelling tell it is
// the same file as another.

// Whether the drive finds the file `path` (`st` its attributes) under other
// spellings of its path too.
bool foldsCase(const std::string& path, const struct stat& st);

// An absolute path with each name as its folder lists it, where a name is
// listed only under another spelling; a name not listed at all is kept.
std::string spelledAsListed(const std::string& path);

// A new open of the folder `folderFd`, through the spelling its drive lists
// where that drive is a FUSE one, so that every instance of the tools locks
// the same inode whatever spelling it was given. Invalid when the folder
// cannot be opened.
UniqueFd openAsListed(int folderFd);

} // namespace marlo::posix
