#include "FileTestFolder.h"

namespace marlo::test {

// The read-only attribute is what the mode's write bit sets on Windows.
void markDriveReadOnly(const std::string& /*path*/, bool /*readOnly*/) {}

} // namespace marlo::test
