#pragma once

#include "PosixFolderLock.h"

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
        : HoldingProcess(command, path, [&] { return ::open(path.c_str(), flags) >= 0; })
    {
    }

    // Holds whatever `take` takes in the child (answering whether it could),
    // named by `what` in the failure when it could not.
    template <class Take>
    HoldingProcess(const std::string& command, const std::string& what, const Take& take)
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
            char byte = take() ? 'y' : 'n';
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
            throw std::runtime_error(command + " could not take " + what);
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

// Another instance of the tools that holds a folder's lock until it is let
// go, as one stopped or stuck while at work there would.
struct LockingInstance : HoldingProcess {
    explicit LockingInstance(const std::string& folder)
        : HoldingProcess("dbtransfer", "the lock of " + folder, [&] {
              static posix::FolderLock lock; // kept to the child's end
              const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
              return fd >= 0 && lock.take(fd).ok();
          })
    {
    }
};

} // namespace marlo::test
