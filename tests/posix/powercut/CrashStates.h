#pragma once

#include "StateJudge.h"
#include "WriteLog.h"

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace marlo::test {

// One state a power cut can leave: entries 0..upTo-1 of the log reached the
// disk, and of the later writes since the last flush those in `extra`.
struct CrashState {
    std::size_t upTo = 0;
    std::vector<std::size_t> extra;
    Phase phase = Phase::During;

    std::string describe(std::size_t entries) const;
};

// The states of one operation, between its marks "start <folder>" and
// "end <folder>" and up to `windowEnd` (the next operation's start, or the
// log's end): a cut after each entry (the last before the start must be the
// folder as laid out; every one after the end, the completed operation), and
// for each flush interval the operation writes in, up to `subsetsPerInterval`
// random subsets of that interval's writes (a disk may reorder what it has
// not been told to flush). Throws std::runtime_error when a mark is missing.
std::vector<CrashState> crashStates(const WriteLog& log, const std::string& folder,
                                    std::size_t windowEnd, int subsetsPerInterval,
                                    std::mt19937_64& random);

} // namespace marlo::test
