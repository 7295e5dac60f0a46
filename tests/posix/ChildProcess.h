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
// test, so that a kill can be aimed at the work rather than at start-up, and
// may write one more at each later point worth aiming at.
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

    // Blocks until the driver says it is about to start, or has reached its
    // next point; false if it ended before that.
    bool waitReady()
    {
        char byte;
        return read(readyFd_, &byte, 1) == 1;
    }
    // Sends the driver `signal` and reaps it; answers true if it was still
    // running and the signal ended it.
    bool killNow(int signal = SIGKILL)
    {
        kill(pid_, signal);
        return wait() == 128 + signal;
    }
    // Waits for the driver's end; answers its exit status (or 128 + signal).
    int wait()
    {
        if (!reaped_) {
            int status = 0;
            waitpid(pid_, &status, 0);
            reaped_ = true;
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return status_;
    }

private:
    pid_t pid_ = -1;
    int readyFd_ = -1;
    bool reaped_ = false;
    int status_ = -1;
};

// Tells the parent that the work under test starts now, or that the driver
// has reached its next point.
inline void signalParent(int readyFd)
{
    const char byte = 'r';
    [[maybe_unused]] auto written = write(readyFd, &byte, 1);
}

} // namespace marlo::test
