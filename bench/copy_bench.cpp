// Copies one large file (page cache warm) with the tools' CopyFile and with
// "cp" followed by "sync" of the copy, by turns, and prints the median of
// each and their ratio. Both end with the copy on the disk.
//
// usage: copy_bench <folder> [MiB = 1024] [rounds = 5] [cp options...]
#include "FileSystem.h"
#include "PosixFd.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace marlo;
using Clock = std::chrono::steady_clock;

namespace {

bool run(std::vector<std::string> args)
{
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

bool makeSource(const std::string& path, std::size_t mebibytes)
{
    posix::UniqueFd out(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!out)
        return false;
    std::vector<std::uint64_t> block((1 << 20) / sizeof(std::uint64_t));
    std::mt19937_64 random(42);
    for (std::size_t i = 0; i < mebibytes; ++i) {
        for (auto& word : block)
            word = random();
        const auto bytes = block.size() * sizeof(std::uint64_t);
        if (::write(out.get(), block.data(), bytes) != static_cast<ssize_t>(bytes))
            return false;
    }
    return ::fsync(out.get()) == 0 && out.close() == 0;
}

double seconds(Clock::duration elapsed)
{
    return std::chrono::duration<double>(elapsed).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const auto n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [MiB = 1024] [rounds = 5] [cp options...]\n",
                     argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::size_t mebibytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1024;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
    const std::string source = folder + "/source.bin", ours = folder + "/ours.bin",
                      theirs = folder + "/cp.bin";

    auto files = makeHostFileSystem([] { return std::string(); });
    const auto copyOurs = [&] {
        return copyFile(*files, FilePath::chosen(source, source), FilePath::chosen(ours, ours))
            .ok();
    };
    std::vector<std::string> cp = {"cp"};
    for (int i = 4; i < argc; ++i)
        cp.emplace_back(argv[i]);
    cp.insert(cp.end(), {source, theirs});
    const auto copyTheirs = [&] { return run(cp) && run({"sync", theirs}); };

    std::printf("making a %zu MiB source in %s\n", mebibytes, folder.c_str());
    // The untimed first copies warm the cache and leave destinations to replace.
    if (!makeSource(source, mebibytes) || !copyOurs() || !copyTheirs()) {
        std::fprintf(stderr, "setting up failed\n");
        return 1;
    }

    std::vector<double> oursTimes, theirTimes;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool oursNow = (round + turn) % 2 == 0; // alternate who goes first
            const auto start = Clock::now();
            if (!(oursNow ? copyOurs() : copyTheirs())) {
                std::fprintf(stderr, "a copy failed\n");
                return 1;
            }
            (oursNow ? oursTimes : theirTimes).push_back(seconds(Clock::now() - start));
        }
        std::printf("round %d: CopyFile %.4f s, cp+sync %.4f s\n", round + 1, oursTimes.back(),
                    theirTimes.back());
    }
    const double a = median(oursTimes), b = median(theirTimes);
    std::printf("median CopyFile %.4f s, median cp+sync %.4f s, ratio %.2f (goal <= 1.00)\n", a, b,
                a / b);
    for (const auto& path : {source, ours, theirs})
        ::unlink(path.c_str());
    return 0;
}
