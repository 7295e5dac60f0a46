#pragma once

#include "Platform.h"

namespace marlo {

// How a host's file layer copies: whether it may replace an existing
// destination, and whom it tells of its progress.
struct CopyOptions {
    bool overwrite = true;
    CopyProgress progress; // optional
};

} // namespace marlo
