#pragma once

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace marlo::test {

// A driver program started with the write end of a pipe as its last
// argument; it writes one byte there when it is about to do the work under
// test, so that a kill can be aimed at the work rather than at start-up.
class ChildProcess {
public:
    explicit ChildProcess(std::vector<std::string> args)
    {
        int fds[2];
        if (pipe(fds) != 0)
            throw std::runtime_error("pipe failed");
        args.push_back(std::to_string(fds[1]));
        pid_ = fork();
        if (pid_ < 0)
            throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            close(fds[0]);
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(fds[1]);
        readyFd_ = fds[0];
    }
    ~ChildProcess()
    {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(readyFd_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Blocks until the driver says it is about to start; false if it ended
    // before that.
    bool waitReady()
    {
        char byte;
        return read(readyFd_, &byte, 1) == 1;
    }
    // Kills the driver and reaps it; answers true if it was still running.
    bool killNow()
    {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFSIGNALED(status);
    }
    // Waits for the driver's end; answers its exit status (or 128 + signal).
    int wait()
    {
        int status = 0;
        waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t pid_ = -1;
    int readyFd_ = -1;
    bool reaped_ = false;
};

// Tells the parent that the work under test starts now.
inline void signalReady(const char* fdArgument)
{
    int fd = std::stoi(fdArgument);
    char byte = 'r';
    [[maybe_unused]] auto written = write(fd, &byte, 1);
    close(fd);
}

} // namespace marlo::test
