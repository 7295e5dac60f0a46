#pragma once

#include "FailureWords.h"
#include "Result.h"

#include <string>
#include <string_view>

namespace marlo::posix {

// Plain words for a host error number, fit to be shown to a user inside a
// sentence ("the disk is full").
std::string describeError(int error);

// A failure carrying the host error number (never 0) and its plain words, or
// the words of the failure that the situation shows, with what more is known.
Status failure(int error);
Status failure(int error, FileFailure kind, std::string_view more = {});

// A copy that the user stopped.
Status cancelled();

} // namespace marlo::posix
