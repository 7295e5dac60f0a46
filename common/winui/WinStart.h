#pragma once

namespace marlo {

// What a program's windows need before the first is made: the common
// controls (the progress bar, the themed buttons).
void prepareWindowsUi();

} // namespace marlo
