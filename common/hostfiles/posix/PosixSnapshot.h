#pragma once

#include "PosixCopyContent.h"
#include "Result.h"

#include <sys/stat.h>

#include <cstdint>
#include <optional>

namespace marlo::posix {

// How a copy read by plain reads (not cloned) tells whether its source
// changed meanwhile, as the main program may write its database while the
// user exports it.
struct SourceState {
    struct stat st {};
    // Where the stamps cannot tell, a digest of the whole content, taken
    // again once the copy is read: the same content before and after it means
    // no write came between (a database's writes do not return a file to an
    // earlier content). Otherwise any later write moves the stamps: they lie
    // a whole stamp step before the coarse clock the kernel stamps writes
    // with.
    std::optional<std::uint64_t> digest;
};

// The source's state before its content is read. A write in the clock tick
// of this look would get the very stamp seen here, so a source stamped
// within the last tick or so is waited for (a few milliseconds at most).
// Whole-second stamps cannot tell: FAT keeps two-second ones, exfat-fuse
// moves them in steps of a second, and fusefat not at all on a write. The
// copy itself is not read back: fusefat shows a file being written as empty.
// A digest's reading is told to `progress`, and stops when it answers false.
Result<SourceState> sourceStateBeforeCopy(int source, const ReadProgress& progress);

// Whether the source is as it was before the copy read it: the same size and
// stamps, and the same digest where one was taken (its reading told as above).
Result<bool> unchangedSince(int source, const SourceState& before, const ReadProgress& progress);

} // namespace marlo::posix
