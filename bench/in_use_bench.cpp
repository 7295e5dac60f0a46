// The cost of one "is the file in use" scan of /proc, with a few hundred
// extra processes running, for a file in $TMPDIR (default /tmp): put it on a
// drive that folds case to see the cost of comparing spellings there.
//
// usage: in_use_bench [processes = 300] [scans = 20]
#include "FileSystem.h"
#include "PosixInUse.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using namespace marlo;
using Clock = std::chrono::steady_clock;

namespace {

// Sleeping children, killed and reaped when it goes.
class Sleepers {
public:
    explicit Sleepers(int count)
    {
        for (int i = 0; i < count; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                ::prctl(PR_SET_PDEATHSIG, SIGKILL);
                ::execlp("sleep", "sleep", "60", static_cast<char*>(nullptr));
                ::_exit(127);
            }
            if (child > 0)
                pids_.push_back(child);
        }
    }
    Sleepers(const Sleepers&) = delete;
    Sleepers& operator=(const Sleepers&) = delete;
    ~Sleepers()
    {
        for (const pid_t pid : pids_)
            ::kill(pid, SIGKILL);
        for (const pid_t pid : pids_)
            ::waitpid(pid, nullptr, 0);
    }
    // Waits until every child runs "sleep", so each has its own descriptors.
    void waitUntilAsleep() const
    {
        for (const pid_t pid : pids_)
            for (int tries = 0; tries < 500; ++tries) {
                std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
                std::string name;
                if (std::getline(comm, name) && name == "sleep")
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
    }
    std::size_t size() const { return pids_.size(); }

private:
    std::vector<pid_t> pids_;
};

template <class Body> double timed(Body body)
{
    const auto start = Clock::now();
    body();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int countProcesses()
{
    int count = 0;
    if (DIR* proc = ::opendir("/proc")) {
        while (const dirent* entry = ::readdir(proc))
            count += entry->d_name[0] >= '1' && entry->d_name[0] <= '9';
        ::closedir(proc);
    }
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    const int processes = argc > 1 ? std::atoi(argv[1]) : 300;
    const int scans = argc > 2 ? std::atoi(argv[2]) : 20;

    const char* folder = std::getenv("TMPDIR");
    std::string path = std::string(folder && *folder ? folder : "/tmp") + "/in_use_bench.XXXXXX";
    const int fd = ::mkstemp(path.data());
    if (fd < 0)
        return 1;
    struct stat file;
    ::fstat(fd, &file);
    ::close(fd);

    Sleepers sleepers(processes);
    sleepers.waitUntilAsleep();
    std::vector<double> ms;
    for (int i = 0; i < scans; ++i) {
        bool free = false;
        ms.push_back(timed([&] { free = posix::refuseIfInUse(path, file).ok(); }));
        if (!free)
            std::fprintf(stderr, "unexpectedly in use\n");
    }
    ::unlink(path.c_str());

    // The operations that the scan guards, scan included, on a 4 MiB database.
    auto files = makeHostFileSystem([] { return std::string(); });
    const std::string source = path + ".src", copy = path + ".mdb";
    std::ofstream(source) << std::string(4 << 20, 'd');
    std::vector<double> copyMs, deleteMs;
    for (int i = 0; i < scans; ++i) {
        std::ofstream(copy) << "old"; // a destination to replace: the scan runs
        const FilePath from = FilePath::chosen(source, source), to = FilePath::chosen(copy, copy);
        copyMs.push_back(timed([&] { copyFile(*files, from, to); }));
        deleteMs.push_back(timed([&] { files->DeleteFile(to, false); }));
    }
    ::unlink(source.c_str());

    std::sort(ms.begin(), ms.end());
    std::printf("%d processes running (%zu of them sleepers): one scan median %.2f ms, "
                "min %.2f ms, max %.2f ms over %d scans\n",
                countProcesses(), sleepers.size(), ms[ms.size() / 2], ms.front(), ms.back(), scans);
    std::printf("guarded operations, scan included: CopyFile over a 4 MiB file median %.2f ms, "
                "DeleteFile median %.2f ms\n",
                median(copyMs), median(deleteMs));
    return 0;
}
