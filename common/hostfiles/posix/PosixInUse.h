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
    std::string command;    // its command name; empty when it could not be read
    bool onlyReads = false; // it has the file open for reading alone
};

// A file as the kernel knows it.
struct FileId {
    dev_t device;
    ino_t inode;
    // Where the drive folds the case of names: the file's path without links.
    // A holder whose path differs from it only in case holds this file, as
    // such a drive may number every spelling anew.
    std::string anySpelling = {};
};

// The file at `path`, whose attributes are `st`, as the scan looks for it.
FileId fileIdOf(const std::string& path, const struct stat& st);

// The first process other than `self` that has the file (device, inode) among
// its open descriptors, found through `procRoot` as fuser finds it. Processes
// that cannot be inspected (gone, or another user's) are passed over. A
// process that has the file open for writing is found before one that only
// reads it.
std::optional<Holder> findHolder(dev_t device, ino_t inode, const std::string& procRoot,
                                 pid_t self);
// The same for any of several files, in one pass over the processes.
std::optional<Holder> findHolderOfAny(const std::vector<FileId>& files, const std::string& procRoot,
                                      pid_t self);

// Fails with words that name the program when another process holds the file
// open; otherwise succeeds. Ours never counts. A writer is refused at once;
// readers (a virus scanner, a sync client, a backup) are waited out for a
// moment. Given its path, the file is also found held under another spelling
// where the drive folds case.
Status refuseIfInUse(const struct stat& file);
Status refuseIfInUse(const std::string& path, const struct stat& file);
Status refuseIfAnyInUse(const std::vector<FileId>& files);

} // namespace marlo::posix
