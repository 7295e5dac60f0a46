#pragma once

#include "PosixCopy.h"

#include <cstdint>
#include <functional>

namespace marlo::posix {

struct Copied {
    std::uint64_t bytes = 0;
    // A clone is the source as it was at one instant, whatever wrote it.
    bool cloned = false;
};

// Told the bytes read so far; answering false cancels. May be empty.
using ReadProgress = std::function<bool(std::uint64_t done)>;

// Copies the whole of `in` (from its start) into the empty file `out`,
// counting the bytes into `copied`: a clone where the drive offers one, else
// an in-kernel copy, else read and write. `total` is the size the source had
// when opened, for the space claimed up front.
Status copyContent(int in, int out, std::uint64_t total, const ReadProgress& progress,
                   Copied& copied);

} // namespace marlo::posix
