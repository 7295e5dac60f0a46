#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace marlo::test {

// In a child just forked: replaces it with the program of `command`, found on
// the PATH, with `environment` ("NAME=value") added; exits 127 if it cannot.
[[noreturn]] inline void execCommand(const std::vector<std::string>& command,
                                     const std::vector<std::string>& environment)
{
    for (const std::string& setting : environment)
        ::putenv(const_cast<char*>(setting.c_str()));
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

} // namespace marlo::test
