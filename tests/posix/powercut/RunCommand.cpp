#include "RunCommand.h"

#include "ExecCommand.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace marlo::test {

CommandResult runCommand(const std::vector<std::string>& command, int timeoutSeconds,
                         const std::vector<std::string>& environment)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeFds[1], 1);
        ::dup2(pipeFds[1], 2);
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, 0);
        execCommand(command, environment);
    }
    ::close(pipeFds[1]);
    CommandResult result;
    if (child < 0) {
        ::close(pipeFds[0]);
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    bool killed = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{pipeFds[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) == 0) {
            ::kill(child, SIGKILL);
            killed = true;
            break;
        }
        char buffer[4096];
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (killed)
        result.output += "\n(killed after " + std::to_string(timeoutSeconds) + " s)";
    return result;
}

bool onPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/sbin:/usr/bin:/sbin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');)
        if (::access((std::filesystem::path(folder) / program).c_str(), X_OK) == 0)
            return true;
    return false;
}

} // namespace marlo::test
