#pragma once

#include "Result.h"

#include <sys/stat.h>

namespace marlo::posix {

// How a copy read by plain reads (not cloned) tells whether its source
// changed meanwhile, as the main program may write its database while the
// user exports it.
struct SourceState {
    struct stat st {};
    // Any later write moves the stamps: they lie a whole stamp step before
    // the coarse clock the kernel stamps writes with. Where they cannot tell,
    // the copy is compared with the source instead.
    bool stampsTell = false;
};

// The source's state before its content is read. A write in the clock tick
// of this look would get the very stamp seen here, so a source stamped
// within the last tick or so is waited for (a few milliseconds at most).
// Whole-second stamps cannot tell: FAT keeps two-second ones, exfat-fuse
// moves them in steps of a second, and fusefat not at all on a write.
Result<SourceState> sourceStateBeforeCopy(int source);

// Whether the source is as it was before the copy read it: the same size and
// stamps, and, where the stamps cannot tell, the same content as `copy`.
Result<bool> unchangedSince(int source, const SourceState& before, int copy);

} // namespace marlo::posix
