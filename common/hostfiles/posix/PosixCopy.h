#pragma once

#include "FileSystem.h"
#include "Result.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace marlo::posix {

// Copies the whole of `source` for `destination` (host paths, taken
// literally) so that a failure, a cancel or a kill at any instant leaves the
// destination with its old content or the new, never a torn or empty file.
// The copy is written to a hidden temporary file beside the destination
// (".<name>.~marlo-XXXXXX.tmp", which no member's name can match), synced and
// closed; Place() looks at the destination again and renames it over that. The copy is the source
// at one moment: a source that changes while it is read is read again, and after a few tries the
// copy fails ("the file changed while it was being copied...").
//
// A destination that is a link receives the copy in the file it points to,
// and the link stays. A destination that exists keeps its permissions (less
// any set-id bits); a new one gets the source's, writable by its owner (a
// read-only template must not make a read-only database). Fails before
// anything is written on a missing source, a destination that is the source
// itself, a folder, or read-only (for root too), and a destination folder
// that does not exist; fails without replacing it when another program has
// the destination open. Reading a source that another program has open is
// allowed.
Result<std::unique_ptr<StagedCopy>> stageCopy(const std::string& source,
                                              const std::string& destination,
                                              const CopyOptions& options = {});

// Gives `backup` the content `file` has now, keeping `file` where it is:
// a new link to the file where the drive has links, else a crash-safe copy
// placed only while the name is free. Never replaces `backup`.
Status keepBackup(const std::string& file, const std::string& backup);

} // namespace marlo::posix
