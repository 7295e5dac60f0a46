#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace marlo::posix {

// A hidden temporary file of the tools, named for the destination it stands
// for: ".<name>.~marlo-XXXXXX.tmp". The marker is nothing a user would type,
// so a file of that shape is ours and belongs to that one destination.
std::string temporaryNameFor(const std::string& name);
bool isTemporaryOf(std::string_view candidate, std::string_view name);

// The file a sweep must leave alone whatever its name: the copy's own source,
// by its identity and by its path (the drives that fold case give each
// spelling of a name its own identity).
struct Spared {
    dev_t device = 0;
    ino_t inode = 0;
    std::string path; // real path; empty where it is unknown
};

// Removes the temporary files of `name` that killed copies left in the
// folder: of the tools' marker and that destination's name, writable, not
// `spared`, held locked by no running copy and open in no program. The caller
// holds the folder's lock, under which every copy locks its temporary file as
// it makes it.
void removeAbandonedTemporaries(int folderFd, const std::string& name, const Spared& spared);

} // namespace marlo::posix
