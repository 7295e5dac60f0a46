#pragma once

namespace marlo::posix {

// A log-off or a shutdown (SIGTERM, SIGHUP) and an interrupt (SIGINT) end
// the tool as before, except inside a change that must not be cut, which
// they let finish first (see SessionEndDeferred). Installed once; later
// calls do nothing.
void endOnSessionSignals();

} // namespace marlo::posix
