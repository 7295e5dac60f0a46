#pragma once

#include "Result.h"

#include <string>

namespace marlo::posix {

// Plain words for a host error number, fit to be shown to a user inside a
// sentence ("the disk is full").
std::string describeError(int error);

// A failure carrying the host error number (never 0) and its plain words, or
// words that say more about the situation than the number alone.
Status failure(int error);
Status failure(int error, std::string description);

} // namespace marlo::posix
