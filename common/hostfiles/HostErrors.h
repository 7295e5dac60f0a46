#pragma once

#include "FailureWords.h"
#include "Result.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace marlo {

// One kind of failure and the host's error numbers that tell it; the places
// left over hold 0, which is no failure.
struct ErrorMeaning {
    FileFailure kind;
    std::array<long, 4> numbers;
};

// What the host's error numbers mean. The file layer of each host defines
// its own table; the failures are built from it by the same rules on every
// host, below.
struct HostErrorTable {
    std::span<const ErrorMeaning> meanings;
    std::span<const long> noSuchName; // a test for a file met no file at all
    long general;                     // carried by a failure that gave no number
    long cancelled;                   // a copy that the user stopped
    std::string (*ownWords)(long);    // the host's words for a number of no kind
};

extern const HostErrorTable hostErrors;

// Plain words for a host error number, fit to be shown to a user inside a
// sentence ("the disk is full").
std::string describeError(long error);

// A failure carrying the host error number (never 0) and its plain words, or
// the words of the failure that the situation shows, with what more is known.
Status failure(long error);
Status failure(long error, FileFailure kind, std::string_view more = {});

// A copy that the user stopped.
Status cancelled();

// Whether a test for a file that failed with `error` means that there is no
// file by that name, rather than that the test could not be made.
bool meansNoSuchName(long error);

} // namespace marlo
