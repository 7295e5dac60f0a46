#pragma once

#include <sys/types.h>

#include <string>

namespace marlo::posix {

// What a process is to Wine: its server, or a Windows program it runs.
struct WineProcess {
    bool server = false;
    std::string program; // a Windows program's name ("MARLOCON.EXE"); empty otherwise
};
WineProcess wineProcess(int procFd, const std::string& pid);

// How a user knows a Windows program that Wine runs.
std::string underWine(const std::string& program);

// The Windows programs that the Wine server `serverPid` runs for its prefix,
// Wine's own ones left out: "MARLOCON.EXE, under Wine". Where none can be
// told, "a program under Wine".
std::string windowsProgramsServedBy(int procFd, const std::string& serverPid, pid_t self);

} // namespace marlo::posix
