#pragma once

#include "FilePath.h"
#include "Result.h"

#include <string>
#include <string_view>

namespace marlo::posix {

// The folder part of an executable's path: no trailing slash except at "/".
std::string folderOf(std::string_view path);

// A file of the tools as the host names it.
struct HostPath {
    std::string path;
    // A member's name is compared without regard to case; a chosen path is
    // taken literally.
    bool member = false;
    std::string folder; // of a member: the application folder
    std::string name;   // of a member: the name as the tools wrote it
};

// A member is its folder, '/' and its name: the backslash the tools write
// between them is their separator. A chosen path is used as it came back, a
// backslash in it being a character of a Linux name.
HostPath hostPath(const FilePath& file);

// Whether two names differ at most in the case of ASCII letters; other bytes
// must match exactly.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

// Where a path is found on the host.
struct Located {
    std::string path;    // the existing entry, else the path as it is to be created
    bool exists = false; // some entry (of any kind) answers to the name
};

// A member is found under any capitalisation; the exact form wins where
// several exist, then the lowest in byte order. A literal path is itself.
// Fails only when the member's folder cannot be listed.
Result<Located> locate(const HostPath& path);

} // namespace marlo::posix
