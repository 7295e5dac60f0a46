// A file that another program holds open counts as in use: it is not
// replaced, moved or deleted, and the failure names the program. Reading it
// is not blocked. A folder's lock that another instance of the tools holds
// is waited for only a while.
#include "BriefHold.h"
#include "FileLayerExpect.h"
#include "FileSystem.h"
#include "FileTestFolder.h"
#include "HoldingProcess.h"
#include "PosixFd.h"
#include "PosixFolderLock.h"
#include "PosixInUse.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <chrono>
#include <future>
#include <thread>

using namespace marlo;
using test::failedWith;
using Names = std::vector<std::string>;

namespace {

const std::string inUse = "the file is in use by another program (MARLOCON.EXE)";
constexpr FileFailure busy = FileFailure::FolderLocked;

template <class Call> std::chrono::milliseconds timed(const Call& call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

// A child process under the main program's name that holds a file open until
// it goes.
struct HoldingProgram : test::HoldingProcess {
    explicit HoldingProgram(const std::string& path, int flags = O_RDWR)
        : HoldingProcess("MARLOCON.EXE", path, flags)
    {
    }
};

class FileInUse : public ::testing::Test {
protected:
    test::FileTestFolder dir;
    std::unique_ptr<FileSystem> files = makeHostFileSystem([this] { return dir.path(); });
};

} // namespace

TEST_F(FileInUse, AHeldFileIsNeitherDeletedNorMovedNorReplaced)
{
    dir.write("MARLOcon.mdb", "live");
    dir.write("MARLOmdb.ba2", "generation 2");
    dir.write("export.mdb", "new");
    {
        HoldingProgram live(dir / "MARLOcon.mdb");
        HoldingProgram generation(dir / "MARLOmdb.ba2", O_RDONLY);
        EXPECT_TRUE(failedWith(files->DeleteFile(dir.member("MARLOcon.mdb"), false), inUse));
        EXPECT_TRUE(failedWith(
            files->MoveFile(dir.member("MARLOcon.mdb"), dir.member("MARLOmdb.bak")), inUse));
        EXPECT_TRUE(failedWith(
            files->MoveFile(dir.member("MARLOmdb.ba2"), dir.member("MARLOmdb.ba3")), inUse));
        EXPECT_TRUE(failedWith(
            copyFile(*files, dir.chosen("export.mdb"), dir.member("MARLOcon.mdb")), inUse));
        EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "MARLOmdb.ba2", "export.mdb"}));
        EXPECT_EQ(dir.read("MARLOcon.mdb"), "live");
    }
    // Once the program has closed them, the same calls go through.
    ASSERT_TRUE(files->MoveFile(dir.member("MARLOmdb.ba2"), dir.member("MARLOmdb.ba3")).ok());
    ASSERT_TRUE(copyFile(*files, dir.chosen("export.mdb"), dir.member("MARLOcon.mdb")).ok());
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "new");
    ASSERT_TRUE(files->DeleteFile(dir.member("MARLOcon.mdb"), false).ok());
    EXPECT_EQ(dir.names(), (Names{"MARLOmdb.ba3", "export.mdb"}));
}

// Readers (a virus scanner, a sync client, a backup) are waited out for a
// moment; one that stays is refused after it, a writer at once.
TEST_F(FileInUse, AReaderIsWaitedOutForAMomentAWriterIsNot)
{
    using namespace std::chrono;
    const milliseconds bound = BriefHoldPatience, never{0};
    const struct {
        int flags;
        milliseconds letGoAfter;
        bool movesOn;
        milliseconds atLeast, below;
    } rows[] = {
        {O_RDONLY, 300ms, true, 300ms, bound},
        {O_RDONLY, never, false, bound, bound + 2s},
        {O_WRONLY, never, false, 0ms, bound / 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << "flags " << row.flags << ", " << row.letGoAfter.count() << " ms");
        dir.write("MARLOcon.mdb", "live");
        HoldingProgram holder(dir / "MARLOcon.mdb", row.flags);
        Status moved;
        const auto waited = timed([&] {
            std::future<void> letGo;
            if (row.letGoAfter != never)
                letGo = std::async(std::launch::async, [&] {
                    std::this_thread::sleep_for(row.letGoAfter);
                    holder.letGo();
                });
            moved = files->MoveFile(dir.member("MARLOcon.mdb"), dir.member("MARLOmdb.bak"));
        });
        EXPECT_TRUE(row.movesOn ? moved.ok() : bool(failedWith(moved, inUse)));
        EXPECT_GE(waited, row.atLeast);
        EXPECT_LT(waited, row.below);
        EXPECT_EQ(dir.names(), Names{row.movesOn ? "MARLOmdb.bak" : "MARLOcon.mdb"});
        holder.letGo();
        std::filesystem::remove(dir / dir.names().front());
    }
}

TEST_F(FileInUse, TheFileIsKnownByItselfNotByItsName)
{
    dir.write("MARLOCON.MDB", "live");
    ::link((dir / "MARLOCON.MDB").c_str(), (dir / "other name").c_str());
    ::symlink("MARLOCON.MDB", (dir / "link").c_str());
    HoldingProgram live(dir / "other name");
    EXPECT_TRUE(failedWith(files->DeleteFile(dir.member("MARLOcon.mdb"), false), inUse));
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("link"), dir.chosen("link")),
                           FileFailure::SameFile));
    dir.write("new", "new");
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("new"), dir.chosen("link")), inUse));
    // Removing a link takes nothing from the program.
    EXPECT_TRUE(files->DeleteFile(dir.chosen("link"), false).ok());
    EXPECT_EQ(dir.read("MARLOCON.MDB"), "live");
}

// FAT and exFAT find one file under every spelling of its path, and through
// FUSE give each spelling a number of its own: a program holding
// "APP/MARLOCON.MDB" holds the tools' "App/MARLOcon.mdb", also where the
// drive lists it as "marloCON.MDB". On other drives that path is another
// file, which the program's hold does not reach.
TEST_F(FileInUse, EverySpellingOfAHeldFileIsHeldWhereTheDriveFoldsCase)
{
    dir.makeFolder("App");
    dir.write("App/marloCON.MDB", "live");
    dir.write("export.mdb", "new");
    const bool folded = dir.has("APP/MARLOCON.MDB");
    if (!folded) {
        dir.makeFolder("APP");
        dir.write("APP/MARLOCON.MDB", "another file");
    }
    HoldingProgram program(dir / "APP/MARLOCON.MDB");
    const std::string app = dir / "App";
    const auto appFiles = makeHostFileSystem([&] { return app; });
    const auto member = [&](const std::string& name) { return FilePath::member(app, name); };
    const auto expectHeld = [&](const Status& status) {
        if (folded)
            EXPECT_TRUE(failedWith(status, inUse));
        else
            EXPECT_TRUE(status.ok()) << status.error().description;
    };

    expectHeld(appFiles->FilesNotInUse({member("MARLOcon.mdb")}));
    expectHeld(copyFile(*appFiles, dir.chosen("export.mdb"), member("MARLOcon.mdb")));
    expectHeld(appFiles->MoveFile(member("MARLOcon.mdb"), member("MARLOmdb.bak")));
    expectHeld(appFiles->DeleteFile(member(folded ? "MARLOcon.mdb" : "MARLOmdb.bak"), false));
    Names left;
    for (const auto& entry : std::filesystem::directory_iterator(app))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, folded ? Names{"marloCON.MDB"} : Names{});
    EXPECT_EQ(dir.read("APP/MARLOCON.MDB"), folded ? "live" : "another file");
}

TEST_F(FileInUse, ReadingAHeldFileIsNotBlocked)
{
    dir.write("MARLOcon.mdb", "live");
    HoldingProgram live(dir / "MARLOcon.mdb");
    ASSERT_TRUE(copyFile(*files, dir.member("MARLOcon.mdb"), dir.chosen("export.mdb")).ok());
    EXPECT_EQ(dir.read("export.mdb"), "live");
}

TEST_F(FileInUse, OurOwnOpenFilesDoNotCount)
{
    dir.write("a", "x");
    const int fd = ::open((dir / "a").c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(files->MoveFile(dir.chosen("a"), dir.chosen("b")).ok());
    EXPECT_TRUE(files->DeleteFile(dir.chosen("b"), false).ok());
    ::close(fd);
}

TEST(FileHolders, ProcessesThatCannotBeInspectedArePassedOver)
{
    // A stand-in for /proc: each process folder lists its descriptors as links.
    test::FileTestFolder proc, data;
    data.write("held", "x");
    data.write("other", "y");
    const auto process = [&](const std::string& pid, const std::vector<std::string>& targets,
                             const char* command) {
        std::filesystem::create_directories(proc / (pid + "/fd"));
        for (std::size_t fd = 0; fd < targets.size(); ++fd)
            ::symlink(targets[fd].c_str(), (proc / (pid + "/fd/" + std::to_string(fd))).c_str());
        if (command)
            proc.write(pid + "/comm", std::string(command) + "\n");
    };
    process("self", {data / "held"}, "self");
    process("12", {data / "held"}, "ourselves"); // the asking process
    process("20", {data / "other", "/nonexistent"}, "unrelated");
    std::filesystem::create_directories(proc / "25"); // gone, or another user's
    proc.write("30", "not a folder");
    process("40", {data / "other", data / "held"}, nullptr);
    process("50", {data / "held"}, "MARLOCON.EXE");

    struct stat held;
    ASSERT_EQ(::stat((data / "held").c_str(), &held), 0);
    const auto holder = posix::findHolder(held.st_dev, held.st_ino, proc.path(), 12);
    ASSERT_TRUE(holder.has_value());
    EXPECT_TRUE(holder->pid == 40 || holder->pid == 50); // listing order decides
    EXPECT_EQ(holder->command, holder->pid == 40 ? "" : "MARLOCON.EXE");

    std::filesystem::remove_all(proc / "40");
    std::filesystem::remove_all(proc / "50");
    EXPECT_FALSE(posix::findHolder(held.st_dev, held.st_ino, proc.path(), 12).has_value());
    EXPECT_FALSE(posix::findHolder(held.st_dev, held.st_ino, "/nonexistent", 12).has_value());
}

TEST(FileHolders, AFileHeldThroughWinesServerNamesTheWindowsProgram)
{
    test::FileTestFolder proc, data;
    data.write("held", "x");
    const auto process = [&](const std::string& pid, const char* executable, const char* command,
                             const std::string& commandLine, const std::string& environment,
                             bool holding) {
        std::filesystem::create_directories(proc / (pid + "/fd"));
        if (holding)
            ::symlink((data / "held").c_str(), (proc / (pid + "/fd/7")).c_str());
        ::symlink(executable, (proc / (pid + "/exe")).c_str());
        proc.write(pid + "/comm", std::string(command) + "\n");
        proc.write(pid + "/cmdline", commandLine);
        proc.write(pid + "/environ", environment);
    };
    using namespace std::string_literals;
    const std::string prefix = "HOME=/home/op\0WINEPREFIX=/home/op/radio\0"s;
    process("20", "/usr/lib/wine/wineserver64", "wineserver64", "/usr/lib/wine/wineserver64\0"s,
            prefix, true);
    process("30", "/usr/lib/wine/wine64", "services.exe", "C:\\windows\\system32\\services.exe\0"s,
            prefix, false);
    process("40", "/usr/lib/wine/wine64", "OTHER.EXE", "C:\\other\\OTHER.EXE\0"s,
            "HOME=/home/op\0"s, false); // another prefix: ~/.wine
    process("50", "/usr/lib/wine/wine64-preloader", "MARLOCON.EXE",
            "C:\\MARLO\\MARLOCON.EXE\0-x\0"s, prefix, false);

    struct stat held;
    ASSERT_EQ(::stat((data / "held").c_str(), &held), 0);
    auto holder = posix::findHolder(held.st_dev, held.st_ino, proc.path(), 1);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->command, "MARLOCON.EXE, under Wine");

    // The program holding the file itself is named the same way.
    ::symlink((data / "held").c_str(), (proc / "50/fd/3").c_str());
    holder = posix::findHolder(held.st_dev, held.st_ino, proc.path(), 1);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->pid, 50);
    EXPECT_EQ(holder->command, "MARLOCON.EXE, under Wine");

    // A server whose programs cannot be told is not named as the holder.
    std::filesystem::remove_all(proc / "50");
    holder = posix::findHolder(held.st_dev, held.st_ino, proc.path(), 1);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->command, "a program under Wine");
}

namespace {

posix::UniqueFd openFolder(const std::string& path)
{
    return posix::UniqueFd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

constexpr std::chrono::milliseconds Patience{300};

} // namespace

// Instances started through differently spelled paths of one folder (on a
// drive that folds case) lock the same folder; elsewhere those are two.
TEST(FolderLocks, TwoSpellingsOfOneFolderShareItsLock)
{
    test::FileTestFolder dir;
    dir.makeFolder("App");
    const bool folded = dir.has("APP");
    if (!folded)
        dir.makeFolder("APP");
    // Through a third spelling where there is one.
    test::LockingInstance other(folded ? dir / "app" : dir / "App");
    const posix::UniqueFd shouting = openFolder(dir / "APP"), listed = openFolder(dir / "App");
    ASSERT_TRUE(shouting && listed);

    posix::FolderLock mine(Patience);
    const Status taken = mine.take(shouting.get());
    if (folded)
        EXPECT_TRUE(failedWith(taken, busy));
    else
        EXPECT_TRUE(taken.ok()) << taken.error().description;
    EXPECT_TRUE(failedWith(posix::FolderLock(Patience).take(listed.get()), busy));
}

// A lock held too long (by an instance stopped or stuck in the folder) is
// given up on within the patience, with words for the user; one let go
// meanwhile is taken.
TEST(FolderLocks, AHeldLockIsWaitedForOnlyAWhile)
{
    test::FileTestFolder dir;
    const posix::UniqueFd folder = openFolder(dir.path());
    test::LockingInstance other(dir.path());

    Status taken;
    const auto waited = timed([&] { taken = posix::FolderLock(Patience).take(folder.get()); });
    EXPECT_TRUE(failedWith(taken, busy));
    EXPECT_TRUE(posix::FolderLock::heldByAnother(taken));
    EXPECT_GE(waited, Patience);
    EXPECT_LT(waited, Patience + std::chrono::seconds(2));

    auto letGo = std::async(std::launch::async, [&] {
        std::this_thread::sleep_for(Patience / 3);
        other.letGo();
    });
    EXPECT_TRUE(posix::FolderLock(Patience * 10).take(folder.get()).ok());
}
