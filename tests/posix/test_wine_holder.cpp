// A real Windows program under Wine holding a database: the in-use refusal
// names the program, not Wine's server.
#include "FileLayerExpect.h"
#include "FileTestFolder.h"
#include "PosixInUse.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

using namespace marlo;

namespace {

bool wineInstalled()
{
    return std::system("command -v wine >/dev/null 2>&1") == 0;
}

// Waits up to `seconds` for the program to say that it holds the file.
bool saysHolding(int output, int seconds)
{
    std::string said;
    pollfd ready{output, POLLIN, 0};
    while (::poll(&ready, 1, seconds * 1000) == 1) {
        char text[256];
        const ssize_t n = ::read(output, text, sizeof text);
        if (n <= 0)
            return false;
        said.append(text, static_cast<std::size_t>(n));
        if (said.find("holding") != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

TEST(WineHolder, AWindowsProgramHoldingTheDatabaseIsNamedAsTheUserKnowsIt)
{
    if (::access(WINE_HOLDER_EXE, R_OK) != 0)
        GTEST_SKIP() << "no Windows compiler here to build the holding program";
    if (!wineInstalled())
        GTEST_SKIP() << "Wine is not installed";
    test::FileTestFolder dir;
    dir.write("MARLOCON.MDB", "live");
    std::filesystem::copy_file(WINE_HOLDER_EXE, dir / "MARLOCON.EXE");
    std::string windowsPath = "Z:" + (dir / "MARLOCON.MDB");
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    const std::string prefix = "WINEPREFIX=" + (dir / "prefix");

    int output[2];
    ASSERT_EQ(::pipe(output), 0);
    const pid_t wine = ::fork();
    if (wine == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(output[1], 1);
        ::putenv(const_cast<char*>(prefix.c_str()));
        ::putenv(const_cast<char*>("WINEDEBUG=-all"));
        const std::string program = dir / "MARLOCON.EXE";
        ::execlp("wine", "wine", program.c_str(), windowsPath.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(output[1]);
    const bool holding = saysHolding(output[0], 120);
    struct stat live;
    ::stat((dir / "MARLOCON.MDB").c_str(), &live);
    const Status inUse = posix::refuseIfInUse(live);

    // Wine's server and the programs of the prefix end with it.
    std::system(("env " + prefix + " wineserver -k >/dev/null 2>&1").c_str());
    ::kill(wine, SIGKILL);
    ::waitpid(wine, nullptr, 0);
    ::close(output[0]);

    ASSERT_TRUE(holding) << "the program did not start under Wine";
    EXPECT_TRUE(test::failedWith(
        inUse, "the file is in use by another program (MARLOCON.EXE, under Wine)"));
}
