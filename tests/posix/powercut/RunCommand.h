#pragma once

#include <string>
#include <vector>

namespace marlo::test {

struct CommandResult {
    int status = -1;    // the exit status, 128 + signal when killed, -1 when it never ran
    std::string output; // standard output and error, together
    bool ok() const { return status == 0; }
};

// Runs a program (looked up on PATH) to its end, or until `timeoutSeconds`
// have passed, when it is killed.
CommandResult runCommand(const std::vector<std::string>& command, int timeoutSeconds = 60,
                         const std::vector<std::string>& environment = {});

// Whether a program of that name is on PATH.
bool onPath(const std::string& program);

} // namespace marlo::test
