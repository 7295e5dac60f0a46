#pragma once

#include "FileSystem.h"
#include "WindowSystem.h"

namespace marlo {

// All that program logic works through: the host's files and the toolkit's
// windows. Made once in main() and handed in; cheap to copy.
struct Platform {
    FileSystem& files;
    WindowSystem& windows;
};

} // namespace marlo
