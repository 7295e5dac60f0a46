#pragma once

#include "FailureWords.h"
#include "Result.h"

#include "WinSystem.h"

#include <string>
#include <string_view>

namespace marlo::win32 {

// A failure carrying the system error code (never 0) and its plain words, or
// the words of the failure that the situation shows, with what more is known.
Status failure(DWORD error);
Status failure(DWORD error, FileFailure kind, std::string_view more = {});

// A copy that the user stopped.
Status cancelled();

// The failure of the last call that failed on this thread.
Status lastFailure();

// Whether an error means that the name is not there at all.
bool isMissing(DWORD error);

} // namespace marlo::win32
