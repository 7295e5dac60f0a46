// The host file layer on real folders: what each operation refuses, and that
// a refusal changes nothing. These run as root in CI, where the read-only
// rules must hold all the same.
#include "FileLayerExpect.h"
#include "FileSystem.h"
#include "FileTestFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <latch>
#include <thread>

using namespace marlo;
using test::failedWith;

namespace {

class FileOperations : public ::testing::Test {
protected:
    test::FileTestFolder dir;
    std::unique_ptr<FileSystem> files = makeHostFileSystem([this] { return dir.path(); });

    bool exists(const std::string& path)
    {
        const auto answer = files->FileExists(path);
        EXPECT_TRUE(answer.ok()) << path;
        return answer.ok() && answer.value();
    }
};

} // namespace

TEST_F(FileOperations, FileExistsAnswersTrueOnlyForARegularFile)
{
    dir.write("file", "x");
    ::mkdir((dir / "folder").c_str(), 0755);
    ::symlink("file", (dir / "link").c_str());
    ::symlink("folder", (dir / "folderlink").c_str());
    ::symlink("missing", (dir / "dangling").c_str());
    ::symlink("loop", (dir / "loop").c_str());

    EXPECT_TRUE(exists(dir / "file"));
    EXPECT_TRUE(exists(dir / "link"));
    EXPECT_TRUE(exists(dir.member("file")));
    EXPECT_FALSE(exists(dir / "folder"));
    EXPECT_FALSE(exists(dir.member("folder")));
    EXPECT_FALSE(exists(dir / "folderlink"));
    EXPECT_FALSE(exists(dir / "missing"));
    EXPECT_FALSE(exists(dir / "dangling"));
    EXPECT_FALSE(exists(dir / "loop"));
    EXPECT_FALSE(exists(dir / "file/below"));
    EXPECT_FALSE(exists(dir / std::string(300, 'n')));
    EXPECT_FALSE(exists(""));
}

TEST_F(FileOperations, FileExistsFailsWhenTheTestCannotBeMade)
{
    ::chmod(dir.path().c_str(), 0755);
    ::mkdir((dir / "locked").c_str(), 0700);
    dir.write("locked/file", "x");
    ::chmod((dir / "locked").c_str(), 0);
    // A user who may not search the folder cannot tell: that is a failure,
    // not a "no".
    const std::string path = dir / "locked/file";
    const int status = test::runUnprivileged([&] {
        const auto answer = files->FileExists(path);
        return !answer.ok() && answer.error().description == "permission denied" ? 0 : 1;
    });
    ::chmod((dir / "locked").c_str(), 0700);
    EXPECT_EQ(status, 0);
}

TEST_F(FileOperations, MoveGivesTheFileTheNewNameAndNeverReplacesOne)
{
    dir.write("a", "first");
    ASSERT_TRUE(files->MoveFile(dir / "a", dir / "b").ok());
    EXPECT_EQ(dir.names(), std::vector<std::string>{"b"});
    EXPECT_EQ(dir.read("b"), "first");

    dir.write("c", "second");
    EXPECT_TRUE(
        failedWith(files->MoveFile(dir / "c", dir / "b"), "a file of the new name already exists"));
    EXPECT_TRUE(failedWith(files->MoveFile(dir.member("c"), dir.member("b")),
                           "a file of the new name already exists"));
    EXPECT_EQ(dir.read("b"), "first");
    EXPECT_EQ(dir.read("c"), "second");

    // A read-only file is moved like any other; a read-only name is no file.
    test::setMode(dir / "c", 0444);
    EXPECT_TRUE(files->MoveFile(dir.member("c"), dir.member("d")).ok());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"b", "d"}));
}

TEST_F(FileOperations, AFailedMoveLeavesBothNamesAsTheyWere)
{
    dir.write("a", "first");
    ::mkdir((dir / "folder").c_str(), 0755);
    EXPECT_TRUE(failedWith(files->MoveFile(dir / "missing", dir / "b"), "the file does not exist"));
    EXPECT_TRUE(failedWith(files->MoveFile(dir / "a", dir / "nowhere/b"),
                           "the destination folder does not exist"));
    EXPECT_TRUE(
        failedWith(files->MoveFile(dir / "folder", dir / "b"), "the name is a folder, not a file"));
    EXPECT_TRUE(failedWith(files->MoveFile(dir / "a", dir / "folder"),
                           "a file of the new name already exists"));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a", "folder"}));
    EXPECT_EQ(dir.read("a"), "first");
}

TEST_F(FileOperations, MovesRacingForOneNameLeaveExactlyOneWinner)
{
    constexpr int movers = 6;
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < movers; ++i)
            dir.write("src" + std::to_string(i), std::to_string(i));
        std::latch start(movers);
        std::vector<bool> moved(movers);
        std::vector<std::thread> threads;
        for (int i = 0; i < movers; ++i)
            threads.emplace_back([&, i] {
                start.arrive_and_wait();
                moved[i] = files->MoveFile(dir / ("src" + std::to_string(i)), dir / "dst").ok();
            });
        for (auto& thread : threads)
            thread.join();

        const auto winner = std::find(moved.begin(), moved.end(), true) - moved.begin();
        ASSERT_EQ(std::count(moved.begin(), moved.end(), true), 1);
        EXPECT_EQ(dir.read("dst"), std::to_string(winner));
        EXPECT_EQ(dir.names().size(), static_cast<std::size_t>(movers));
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directory(dir.path());
    }
}

TEST_F(FileOperations, DeleteRemovesExactlyTheOneFileUnlessItIsReadOnly)
{
    dir.write("*.bak", "star");
    dir.write("a.bak", "a");
    dir.write("?.bak", "question");
    dir.write("b.bak", "b");
    ASSERT_TRUE(files->DeleteFile(dir / "*.bak", false).ok());
    ASSERT_TRUE(files->DeleteFile(dir.member("?.bak"), false).ok());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.bak", "b.bak"}));

    // Root could unlink it; the owner's missing write permission still rules.
    test::setMode(dir / "a.bak", 0444);
    EXPECT_TRUE(failedWith(files->DeleteFile(dir / "a.bak", false), "the file is read-only"));
    EXPECT_TRUE(failedWith(files->DeleteFile(dir.member("a.bak"), false), "the file is read-only"));
    EXPECT_EQ(dir.read("a.bak"), "a");
    EXPECT_TRUE(files->DeleteFile(dir / "a.bak", true).ok());
    EXPECT_FALSE(dir.has("a.bak"));
}

TEST_F(FileOperations, DeleteRefusesWhatIsNoFile)
{
    ::mkdir((dir / "folder").c_str(), 0755);
    ::symlink("missing", (dir / "dangling").c_str());
    EXPECT_TRUE(failedWith(files->DeleteFile(dir / "missing", false), "the file does not exist"));
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir.member("missing"), false), "the file does not exist"));
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir / "folder", false), "the name is a folder, not a file"));
    EXPECT_TRUE(failedWith(files->DeleteFile(dir / "dangling", false), "the file does not exist"));
    ::mkfifo((dir / "pipe").c_str(), 0644);
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir / "pipe", false), "the name is not an ordinary file"));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"dangling", "folder", "pipe"}));
}

TEST_F(FileOperations, DeletingALinkRemovesTheLinkUnderItsTargetsRule)
{
    dir.write("target", "t");
    ::symlink("target", (dir / "link").c_str());
    test::setMode(dir / "target", 0444);
    EXPECT_TRUE(failedWith(files->DeleteFile(dir / "link", false), "the file is read-only"));
    test::setMode(dir / "target", 0644);
    EXPECT_TRUE(files->DeleteFile(dir / "link", false).ok());
    EXPECT_EQ(dir.names(), std::vector<std::string>{"target"});
}
