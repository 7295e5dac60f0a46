// Runs one command of the tools on an application folder, through the host's
// file layer behind the recording fake, with Yes to every question:
//   crash_driver <folder> reset <pause scale> <ready fd>
//   crash_driver <folder> import|export|delete <chosen file> <ready fd>
// Import and export are of the CON database. The reset's pauses last their
// time times the scale, and each writes one more byte to the ready fd as it
// begins. Exits 0 when the command did its work, 4 when it was refused
// because another command was changing the folder, 1 when it failed
// otherwise, 3 when the reset did not end.
#include "ChildProcess.h"
#include "CrashCheck.h"
#include "ResetSequence.h"
#include "ScaledPauses.h"
#include "TransferOnDisk.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// How a command that did not do its work ended: 4 when it was refused
// because another command was changing the folder, 1 otherwise, its last
// message shown on the standard error.
int notDone(const std::vector<std::string>& calls)
{
    const auto box = std::find_if(calls.rbegin(), calls.rend(), [](const std::string& line) {
        return line.starts_with("MsgBox ");
    });
    if (box == calls.rend())
        return 1;
    if (marlo::test::lowered(*box).find("another command is changing") != std::string::npos)
        return 4;
    std::cerr << *box << std::endl;
    return 1;
}

int reset(const char* folder, double scale, int readyFd)
{
    marlo::test::ScaledPauses platform(folder, scale, readyFd);
    marlo::ResetSequence sequence(platform, platform);
    marlo::test::signalParent(readyFd);
    sequence.run();
    if (!platform.endedWith && !platform.unloadedWith)
        return 3;
    return platform.endedWith == 0 ? 0 : notDone(platform.calls);
}

int transfer(const char* folder, std::string_view command, const char* chosen, int readyFd)
{
    marlo::test::TransferOnDisk transfer(folder);
    marlo::test::signalParent(readyFd);
    const auto errorBox = command == "export"   ? transfer.exportTo(marlo::Database::Con, chosen)
                          : command == "import" ? transfer.importFrom(marlo::Database::Con, chosen)
                                                : transfer.remove(chosen);
    if (!errorBox && transfer.reachedTheFileOperation())
        return 0;
    return notDone(transfer.platform.calls);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 5)
        return 2;
    const std::string_view command = argv[2];
    const int readyFd = std::stoi(argv[4]);
    if (command == "reset")
        return reset(argv[1], std::stod(argv[3]), readyFd);
    if (command == "export" || command == "import" || command == "delete")
        return transfer(argv[1], command, argv[3], readyFd);
    return 2;
}
