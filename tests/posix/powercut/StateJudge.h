#pragma once

#include "TrialCases.h"

#include <string>
#include <vector>

namespace marlo::test {

// Where in the operation a crash state lies.
enum class Phase {
    Before,    // nothing of the operation reached the disk: the folder as laid out
    During,    // anything between
    Completed, // the operation had finished: its result is on the disk
};

// What is wrong with an application folder (mounted after a power cut) for
// its operation in that phase; empty when nothing is.
std::vector<std::string> judgeFolder(const std::string& folder, const OperationCase& c,
                                     Phase phase);

// What is wrong with the folder after the operation was run again on it
// (`status` its driver's exit status): the next run must succeed, leave its
// result, and clear the operation's leftovers.
std::vector<std::string> judgeNextRun(const std::string& folder, const OperationCase& c,
                                      int status);

// Whether the operation can run again on the folder (a delete cannot once
// its file is gone).
bool canRunAgain(const std::string& folder, const OperationCase& c);

} // namespace marlo::test
