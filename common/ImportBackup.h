#pragma once

#include "DatabaseFiles.h"
#include "Result.h"

#include <string>
#include <vector>

namespace marlo {

class FileSystem;
class StagedCopy;

// The live database and its five backup generations, newest first.
std::vector<std::string> familyPaths(FileSystem& files, Database database);

// Puts a staged copy in the place of a live database so that the database it
// replaces becomes its newest backup. The generations of that database alone
// move one up first, oldest first; the oldest is dropped only when all five
// exist. The old database then gets its backup name while it keeps its live
// name (a link, or a copy where the drive has none), and the staged copy
// takes the live name in one rename: the live name is never missing, and a
// kill at any instant loses no content. A step that fails undoes the moves
// made before it, so a refused import leaves every name as it was.
Status placeKeepingBackup(FileSystem& files, Database database, StagedCopy& staged);

} // namespace marlo
