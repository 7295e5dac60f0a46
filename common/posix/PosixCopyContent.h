#pragma once

#include "PosixCopy.h"

#include <cstdint>

namespace marlo::posix {

// Copies the whole of `in` (from its start) into the empty file `out`,
// counting the bytes into `copied`: a clone where the drive offers one, else
// an in-kernel copy, else read and write. `total` is the size the source had
// when opened, for the progress callback and the space claimed up front.
Status copyContent(int in, int out, std::uint64_t total, const CopyProgress& progress,
                   std::uint64_t& copied);

} // namespace marlo::posix
