#pragma once

#include "FileSystem.h"
#include "Result.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace marlo::posix {

// FileSystem::StageCopy on host paths, taken literally. The copy is written
// to a hidden temporary file beside the destination
// (".<name>.~marlo-XXXXXX.tmp", which no member's name can match) and synced
// again once named. A source that changes while it is read is read again,
// and after a few tries refused. A destination that is a link receives the
// copy in the file it points to, and the link stays; one that exists keeps
// its permissions (less any set-id bits), a new one gets the source's,
// writable by its owner. Read-only is refused for root too.
Result<std::unique_ptr<StagedCopy>> stageCopy(const std::string& source,
                                              const std::string& destination,
                                              const CopyOptions& options = {});

// FileSystem::SeparateBackup on host paths.
Result<bool> separateBackup(const std::string& file, const std::string& backup);

// FileSystem::KeepBackup on host paths.
Status keepBackup(const std::string& file, const std::string& backup,
                  const CopyProgress& progress = {});

} // namespace marlo::posix
