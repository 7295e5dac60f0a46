#pragma once

#include "Result.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace marlo::posix {

// A process that holds a file open.
struct Holder {
    pid_t pid = 0;
    std::string command; // its command name; empty when it could not be read
};

// A file as the kernel knows it.
struct FileId {
    dev_t device;
    ino_t inode;
};

// The first process other than `self` that has the file (device, inode) among
// its open descriptors, found through `procRoot` as fuser finds it. Processes
// that cannot be inspected (gone, or another user's) are passed over.
std::optional<Holder> findHolder(dev_t device, ino_t inode, const std::string& procRoot,
                                 pid_t self);
// The same for any of several files, in one pass over the processes.
std::optional<Holder> findHolderOfAny(const std::vector<FileId>& files, const std::string& procRoot,
                                      pid_t self);

// Fails with words that name the program when another process holds the file
// open; otherwise succeeds. Ours never counts.
Status refuseIfInUse(const struct stat& file);
Status refuseIfAnyInUse(const std::vector<FileId>& files);

} // namespace marlo::posix
