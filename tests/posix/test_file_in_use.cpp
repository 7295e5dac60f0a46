// A file that another program holds open counts as in use: it is not
// replaced, moved or deleted, and the failure names the program. Reading it
// is not blocked.
#include "FileLayerExpect.h"
#include "FileSystem.h"
#include "FileTestFolder.h"
#include "HoldingProcess.h"
#include "PosixInUse.h"

#include <gtest/gtest.h>

#include <fcntl.h>

using namespace marlo;
using test::failedWith;
using Names = std::vector<std::string>;

namespace {

const std::string inUse = "the file is in use by another program (MARLOCON.EXE)";

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
            files->CopyFile(dir / "export.mdb", dir.member("MARLOcon.mdb"), true), inUse));
        EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "MARLOmdb.ba2", "export.mdb"}));
        EXPECT_EQ(dir.read("MARLOcon.mdb"), "live");
    }
    // Once the program has closed them, the same calls go through.
    ASSERT_TRUE(files->MoveFile(dir.member("MARLOmdb.ba2"), dir.member("MARLOmdb.ba3")).ok());
    ASSERT_TRUE(files->CopyFile(dir / "export.mdb", dir.member("MARLOcon.mdb"), true).ok());
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "new");
    ASSERT_TRUE(files->DeleteFile(dir.member("MARLOcon.mdb"), false).ok());
    EXPECT_EQ(dir.names(), (Names{"MARLOmdb.ba3", "export.mdb"}));
}

TEST_F(FileInUse, TheFileIsKnownByItselfNotByItsName)
{
    dir.write("MARLOCON.MDB", "live");
    ::link((dir / "MARLOCON.MDB").c_str(), (dir / "other name").c_str());
    ::symlink("MARLOCON.MDB", (dir / "link").c_str());
    HoldingProgram live(dir / "other name");
    EXPECT_TRUE(failedWith(files->DeleteFile(dir.member("MARLOcon.mdb"), false), inUse));
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "link", dir / "link", true),
                           "the source and the destination are the same file"));
    dir.write("new", "new");
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "new", dir / "link", true), inUse));
    // Removing a link takes nothing from the program.
    EXPECT_TRUE(files->DeleteFile(dir / "link", false).ok());
    EXPECT_EQ(dir.read("MARLOCON.MDB"), "live");
}

TEST_F(FileInUse, ReadingAHeldFileIsNotBlocked)
{
    dir.write("MARLOcon.mdb", "live");
    HoldingProgram live(dir / "MARLOcon.mdb");
    ASSERT_TRUE(files->CopyFile(dir.member("MARLOcon.mdb"), dir / "export.mdb", true).ok());
    EXPECT_EQ(dir.read("export.mdb"), "live");
}

TEST_F(FileInUse, OurOwnOpenFilesDoNotCount)
{
    dir.write("a", "x");
    const int fd = ::open((dir / "a").c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(files->MoveFile(dir / "a", dir / "b").ok());
    EXPECT_TRUE(files->DeleteFile(dir / "b", false).ok());
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
