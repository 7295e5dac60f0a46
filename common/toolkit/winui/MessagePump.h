#pragma once

#include "WinSystem.h"

namespace marlo {

// Hands a message to the dialog manager of its top-level window (keyboard
// navigation), or translates and dispatches it.
void dispatchMessage(MSG& message);

// Runs the thread's messages until the program is asked to end; false when
// the system fails to hand over the thread's messages.
bool runMessageLoop();

// Runs every message that is pending, then returns. An end asked for
// meanwhile is kept for the loop that runs the program.
void pumpPendingMessages();

} // namespace marlo
