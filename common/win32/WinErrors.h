#pragma once

#include "Result.h"

#include "WinSystem.h"

#include <string>

namespace marlo::win32 {

// Plain words for a system error code, fit to be shown to a user inside a
// sentence ("the disk is full"); the same words as on Linux where the cause
// is the same.
std::string describeError(DWORD error);

// A failure carrying the system error code (never 0) and its plain words, or
// words that say more about the situation than the code alone.
Status failure(DWORD error);
Status failure(DWORD error, std::string description);

// The failure of the last call that failed on this thread.
Status lastFailure();

// Whether an error means that the name is not there at all.
bool isMissing(DWORD error);

} // namespace marlo::win32
