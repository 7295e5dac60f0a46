#pragma once

#include "Result.h"

#include <string>

namespace marlo::posix {

// Operations on host paths, taken literally. Each failure says in plain words
// what stood in the way.

// True only for an existing regular file or a link to one. A name that cannot
// exist (missing, a part of the path that is no folder, too long, a loop of
// links) answers false; fails only when the test cannot be made, e.g. when
// a folder on the way may not be searched.
Result<bool> regularFileExists(const std::string& path);

// Renames `from` (folder fd and name) to `to` unless `to` exists: renameat2
// with RENAME_NOREPLACE, else a link and an unlink, both atomic against every
// program. A drive that can do neither gets the name tested free and the
// rename made under the folder's lock, which keeps out every instance of the
// tools.
Status renameNoReplace(int fromFolder, const std::string& from, int toFolder,
                       const std::string& to);

// Gives a file (or a link) a new name; never replaces one, and a failed move
// leaves both names as they were. A file that another program has open is
// refused.
Status moveNoReplace(const std::string& source, const std::string& destination);

// moveNoReplace for a file that is to be deleted later: refused, too, where
// deleteFile(source, false) would refuse it for being read-only.
Status setAside(const std::string& source, const std::string& destination);

// Takes away one name of a file that has another, without asking who holds
// the file: its data stays under the other name.
Status removeName(const std::string& path);

// Removes exactly the one file named; unless `force`, a file without its
// owner's write permission or with the drive's read-only mark is refused,
// for root too, and so is a file that another program has open.
Status deleteFile(const std::string& path, bool force);

// The folder part of a path and the last name in it.
struct Split {
    std::string folder;
    std::string name;
};
Split splitPath(const std::string& path);

// Flushes a folder's entries to the disk. A failure comes after the change
// it was to flush, which is made and visible but may not be on the disk yet;
// its words say so. A drive that cannot flush folders at all is no failure.
Status syncFolder(int folderFd);

} // namespace marlo::posix
