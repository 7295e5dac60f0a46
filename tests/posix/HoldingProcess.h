#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace marlo::test {

// Another program that holds a file open under a command name of its own
// (at most 15 bytes, as the host keeps it) until it is let go.
class HoldingProcess {
public:
    HoldingProcess(const std::string& command, const std::string& path, int flags)
    {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(release_) != 0)
            throw std::runtime_error("no pipe");
        pid_ = ::fork();
        if (pid_ < 0)
            throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::prctl(PR_SET_NAME, command.c_str());
            ::close(ready[0]);
            ::close(release_[1]);
            const int fd = ::open(path.c_str(), flags);
            char byte = fd >= 0 ? 'y' : 'n';
            if (::write(ready[1], &byte, 1) != 1)
                ::_exit(1);
            [[maybe_unused]] auto released = ::read(release_[0], &byte, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release_[0]);
        char byte = 'n';
        const bool opened = ::read(ready[0], &byte, 1) == 1 && byte == 'y';
        ::close(ready[0]);
        if (!opened) {
            letGo();
            throw std::runtime_error(command + " could not open " + path);
        }
    }
    ~HoldingProcess() { letGo(); }
    HoldingProcess(const HoldingProcess&) = delete;
    HoldingProcess& operator=(const HoldingProcess&) = delete;

    // Closes the file and waits until the program has ended.
    void letGo()
    {
        if (pid_ <= 0)
            return;
        ::close(release_[1]);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int release_[2] = {-1, -1};
};

} // namespace marlo::test
