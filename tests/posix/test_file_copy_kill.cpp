// A copy killed at any instant leaves the destination with its old content
// or the new, never a torn or empty file, and no stray file under a member's
// name; the next copy into the folder clears what a killed one left. A copy
// made while another program writes the source is a copy of one moment of
// it, or fails and leaves nothing.
#include "FileLayerExpect.h"
#include "FileSystem.h"
#include "FileTestFolder.h"
#include "HoldingProcess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <random>
#include <thread>

using namespace marlo;

namespace {

std::string pattern(std::size_t size, unsigned seed)
{
    std::string content(size, '\0');
    std::mt19937 generator(seed);
    for (char& c : content)
        c = static_cast<char>(generator());
    return content;
}

// Copies the two sources over the destination by turns until killed; writes
// one byte to `done` after every completed copy.
[[noreturn]] void copyForever(const test::FileTestFolder& dir, int done)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    auto files = makeHostFileSystem([&] { return dir.path(); });
    for (int turn = 0;; ++turn) {
        const char* source = turn % 2 == 0 ? "cvmdb1.bin" : "cvmdb2.bin";
        if (!copyFile(*files, dir.member(source), dir.member("MARLOcon.mdb")).ok())
            ::_exit(1);
        if (::write(done, "x", 1) != 1)
            ::_exit(2);
    }
}

constexpr std::size_t Block = 4096;

// A forked process, killed and reaped when the test ends however it ends.
struct Child {
    pid_t pid;
    explicit Child(pid_t forked) : pid(forked) {}
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child()
    {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

// Another program's database, written in transactions: each puts its number
// in the last block and then in the header. It writes in bursts and pauses,
// each up to `spellUs` long, so that some copies meet a quiet source, some a
// busy one, and some a write in the very clock tick in which they began.
[[noreturn]] void writeTransactionsForever(const std::string& path, std::uint64_t size,
                                           long spellUs, int ready)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long> spell(0, spellUs);
    std::vector<std::uint64_t> block(Block / sizeof(std::uint64_t));
    std::uint64_t number = 0;
    for (;;) {
        const auto burstEnd =
            std::chrono::steady_clock::now() + std::chrono::microseconds(spell(random));
        do {
            std::fill(block.begin(), block.end(), ++number);
            if (::pwrite(fd, block.data(), Block, static_cast<off_t>(size - Block)) != Block ||
                ::pwrite(fd, block.data(), Block, 0) != Block)
                ::_exit(1);
            if (number == 1 && ::write(ready, "x", 1) != 1)
                ::_exit(2);
        } while (std::chrono::steady_clock::now() < burstEnd);
        std::this_thread::sleep_for(std::chrono::microseconds(spell(random)));
    }
}

// The transaction number a block holds, or -1 when its words disagree.
long long transactionOf(const std::string& content, std::size_t offset)
{
    std::uint64_t words[Block / sizeof(std::uint64_t)];
    std::memcpy(words, content.data() + offset, Block);
    for (std::uint64_t word : words)
        if (word != words[0])
            return -1;
    return static_cast<long long>(words[0]);
}

} // namespace

TEST(FileCopyKill, ACopyUnderWritesIsOneMomentOfTheSourceOrNothing)
{
    test::FileTestFolder dir;
    const std::uint64_t size = 2 << 20;
    dir.write("MARLOcon.mdb", std::string(size, '\0'));
    auto files = makeHostFileSystem([&] { return dir.path(); });
    // Spells as long as a whole copy, on any drive, and a few clock ticks at
    // least: a copy waits for the source's stamps to be a tick old.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(copyFile(*files, dir.member("MARLOcon.mdb"), dir.chosen("export.mdb")).ok());
    const long copyUs = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();

    int ready[2];
    ASSERT_EQ(::pipe2(ready, O_CLOEXEC), 0);
    const Child writer(::fork());
    ASSERT_GE(writer.pid, 0);
    if (writer.pid == 0)
        writeTransactionsForever(dir / "MARLOcon.mdb", size, std::max(copyUs, 20000L), ready[1]);
    ::close(ready[1]);
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the writer did not start";
    ::close(ready[0]);

    // Into an existing file and into a new name by turns, for a few seconds
    // at most on a slow drive.
    int snapshots = 0, refused = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (int round = 0; round < 40 && (round < 4 || std::chrono::steady_clock::now() < until);
         ++round) {
        const std::string destination = round % 2 == 0 ? "export.mdb" : "new.mdb";
        const std::string before = dir.read("export.mdb");
        const Status copied = copyFile(*files, dir.member("MARLOcon.mdb"), dir.chosen(destination));
        if (copied.ok()) {
            ++snapshots;
            const std::string content = dir.read(destination);
            ASSERT_EQ(content.size(), size) << "round " << round;
            const long long header = transactionOf(content, 0);
            const long long last = transactionOf(content, size - Block);
            // The last block may be one ahead: the moment fell between a
            // transaction's two writes.
            ASSERT_TRUE(header >= 0 && (last == header || last == header + 1))
                << "a copy mixes moments: header " << header << ", last block " << last
                << " in round " << round;
        } else {
            ++refused;
            ASSERT_TRUE(test::failedWith(copied, FileFailure::SourceChanged)) << "round " << round;
        }
        if (!copied.ok()) {
            EXPECT_TRUE(dir.read("export.mdb") == before) << "round " << round;
        } else if (destination == "new.mdb") {
            ASSERT_TRUE(files->DeleteFile(dir.chosen(destination), false).ok());
        }
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"MARLOcon.mdb", "export.mdb"}))
            << "round " << round;
    }
    std::cout << "copies under writes: " << snapshots << " of one moment, " << refused
              << " refused\n";
}

TEST(FileCopyKill, AKilledCopyLeavesTheOldContentOrTheNew)
{
    test::FileTestFolder dir;
    const std::string first = pattern(3 << 20, 1), second = pattern((4 << 20) + 3, 2);
    dir.write("cvmdb1.bin", first);
    dir.write("cvmdb2.bin", second);
    dir.write("MARLOcon.mdb", first);

    // Kills land anywhere within about two copies, however fast the drive.
    auto files = makeHostFileSystem([&] { return dir.path(); });
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(copyFile(*files, dir.member("cvmdb2.bin"), dir.member("MARLOcon.mdb")).ok());
    const auto copyUs = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long> delayUs(0, std::max<long>(60000, 2 * copyUs));
    int completed = 0, killedMidCopy = 0;
    for (int round = 0; round < 30; ++round) {
        int done[2];
        ASSERT_EQ(::pipe2(done, O_CLOEXEC | O_NONBLOCK), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            copyForever(dir, done[1]);
        ::close(done[1]);
        // The first round lets one copy end whole, however slow the machine.
        if (round == 0) {
            pollfd firstDone{done[0], POLLIN, 0};
            ASSERT_EQ(::poll(&firstDone, 1, 60000), 1) << "no copy ended within a minute";
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the copying child failed by itself";
        char bytes[256];
        for (ssize_t n; (n = ::read(done[0], bytes, sizeof bytes)) > 0;)
            completed += static_cast<int>(n);
        ::close(done[0]);

        const std::string content = dir.read("MARLOcon.mdb");
        ASSERT_TRUE(content == first || content == second)
            << "torn destination of " << content.size() << " bytes in round " << round;
        // At most the one hidden temporary file of the killed copy is left:
        // the copies of this round cleared those of the rounds before.
        int leftovers = 0;
        for (const std::string& name : dir.names()) {
            if (name == "cvmdb1.bin" || name == "cvmdb2.bin" || name == "MARLOcon.mdb")
                continue;
            EXPECT_TRUE(name.starts_with(".MARLOcon.mdb.~marlo-") && name.ends_with(".tmp"))
                << name;
            ++leftovers;
        }
        EXPECT_LE(leftovers, 1);
        killedMidCopy += leftovers;
    }
    EXPECT_GT(completed, 0);
    ASSERT_TRUE(copyFile(*files, dir.member("cvmdb1.bin"), dir.member("MARLOcon.mdb")).ok());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"MARLOcon.mdb", "cvmdb1.bin", "cvmdb2.bin"}));
    std::cout << completed << " copies completed, " << killedMidCopy
              << " of 30 kills left a hidden temporary file\n";
}

TEST(FileCopyKill, OnlyAbandonedTemporaryFilesOfTheDestinationAreCleared)
{
    test::FileTestFolder dir;
    dir.write("src", "new");
    // The user's own files of a temporary file's shape, ours of another
    // destination, and ours that a copy or a program still holds.
    const std::vector<std::string> kept = {".MARLOcon.mdb.Xy0123.tmp",
                                           ".notes.backup.tmp",
                                           ".thesis.draft2.tmp",
                                           ".MARLOcon.mdb.~marlo-abc12.tmp",
                                           ".MARLOcon.mdb.~marlo-ab-123.tmp",
                                           ".MARLOcon.mdb.~marlo-abc123.tmp.bak",
                                           "MARLOcon.mdb.~marlo-abc123.tmp",
                                           ".MARLOspm.mdb.~marlo-qwerty.tmp",
                                           ".MARLOcon.mdb.~marlo-runnin.tmp",
                                           ".MARLOcon.mdb.~marlo-opened.tmp"};
    for (const std::string& name : kept)
        dir.write(name, "user's");
    dir.write(".MARLOcon.mdb.~marlo-Xy0123.tmp", "left by a killed copy");
    dir.makeFolder(".MARLOcon.mdb.~marlo-folder.tmp");
    const int running =
        ::open((dir / ".MARLOcon.mdb.~marlo-runnin.tmp").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    test::HoldingProcess opened("editor", dir / ".MARLOcon.mdb.~marlo-opened.tmp", O_RDONLY);

    auto files = makeHostFileSystem([&] { return dir.path(); });
    ASSERT_TRUE(copyFile(*files, dir.chosen("src"), dir.member("MARLOcon.mdb")).ok());
    std::vector<std::string> expected = kept;
    expected.insert(expected.end(), {".MARLOcon.mdb.~marlo-folder.tmp", "MARLOcon.mdb", "src"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir.names(), expected);
    for (const std::string& name : kept)
        EXPECT_EQ(dir.read(name), "user's") << name;
    ::close(running);
}

TEST(FileCopyKill, AReadOnlyFileOfOurTemporaryShapeIsKept)
{
    test::FileTestFolder dir;
    dir.write("src", "new");
    dir.write(".MARLOcon.mdb.~marlo-kept01.tmp", "user's");
    dir.setReadOnly(".MARLOcon.mdb.~marlo-kept01.tmp");
    auto files = makeHostFileSystem([&] { return dir.path(); });
    ASSERT_TRUE(copyFile(*files, dir.chosen("src"), dir.member("MARLOcon.mdb")).ok());
    EXPECT_EQ(dir.read(".MARLOcon.mdb.~marlo-kept01.tmp"), "user's");
}

TEST(FileCopyKill, ALeftoverTemporaryFileCanItselfBeCopied)
{
    test::FileTestFolder dir;
    const std::string leftover = ".MARLOcon.mdb.~marlo-Xy0123.tmp";
    dir.write(leftover, "rescued");
    dir.write("MARLOcon.mdb", "old");
    auto files = makeHostFileSystem([&] { return dir.path(); });
    ASSERT_TRUE(copyFile(*files, dir.chosen(leftover), dir.member("MARLOcon.mdb")).ok());
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "rescued");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{leftover, "MARLOcon.mdb"}));
}
