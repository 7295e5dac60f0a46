// The Linux file layer on what only Linux has: links, pipes, names with
// pattern characters, users without the right to look, and a drive that
// fails to flush a folder.
#include "DriveImage.h"
#include "FileLayerExpect.h"
#include "HostFilesTest.h"
#include "OrdinaryUser.h"
#include "PosixFd.h"
#include "PosixFileOps.h"

#include <gtest/gtest.h>

#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace marlo;
using test::failedWith;

namespace {

class PosixFileOperations : public test::HostFilesTest {};

} // namespace

TEST_F(PosixFileOperations, FileExistsFollowsLinksToRegularFilesOnly)
{
    dir.write("file", "x");
    ::mkdir((dir / "folder").c_str(), 0755);
    ::symlink("file", (dir / "link").c_str());
    ::symlink("folder", (dir / "folderlink").c_str());
    ::symlink("missing", (dir / "dangling").c_str());
    ::symlink("loop", (dir / "loop").c_str());

    EXPECT_TRUE(exists(dir.chosen("link")));
    EXPECT_FALSE(exists(dir.chosen("folderlink")));
    EXPECT_FALSE(exists(dir.chosen("dangling")));
    EXPECT_FALSE(exists(dir.chosen("loop")));
}

TEST_F(PosixFileOperations, FileExistsFailsWhenTheTestCannotBeMade)
{
    ::chmod(dir.path().c_str(), 0755);
    ::mkdir((dir / "locked").c_str(), 0700);
    dir.write("locked/file", "x");
    ::chmod((dir / "locked").c_str(), 0);
    // A user who may not search the folder cannot tell: that is a failure,
    // not a "no".
    const FilePath path = dir.chosen("locked/file");
    const test::OrdinaryRun run = test::runAsOrdinaryUser([&]() -> std::string {
        const auto answer = files->FileExists(path);
        if (!answer.ok() && answer.error().description == "permission denied")
            return {};
        return answer.ok() ? "answered instead of failing" : answer.error().description;
    });
    ::chmod((dir / "locked").c_str(), 0700);
    ASSERT_TRUE(run.ran) << run.whyNot;
    EXPECT_EQ(run.problems, "");
}

TEST_F(PosixFileOperations, DeletingALinkRemovesTheLinkUnderItsTargetsRule)
{
    dir.write("target", "t");
    ::symlink("target", (dir / "link").c_str());
    test::setMode(dir / "target", 0444);
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir.chosen("link"), false), FileFailure::FileReadOnly));
    test::setMode(dir / "target", 0644);
    EXPECT_TRUE(files->DeleteFile(dir.chosen("link"), false).ok());
    EXPECT_EQ(dir.names(), std::vector<std::string>{"target"});
}

TEST_F(PosixFileOperations, DeleteTakesPatternCharactersAsPartsOfTheName)
{
    dir.write("*.bak", "star");
    dir.write("a.bak", "a");
    dir.write("?.bak", "question");
    dir.write("b.bak", "b");
    ASSERT_TRUE(files->DeleteFile(dir.chosen("*.bak"), false).ok());
    ASSERT_TRUE(files->DeleteFile(dir.member("?.bak"), false).ok());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.bak", "b.bak"}));
}

TEST_F(PosixFileOperations, DeleteRefusesLinksToNothingAndPipes)
{
    ::symlink("missing", (dir / "dangling").c_str());
    ::mkfifo((dir / "pipe").c_str(), 0644);
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir.chosen("dangling"), false), FileFailure::FileMissing));
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir.chosen("pipe"), false), FileFailure::NameNotOrdinary));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"dangling", "pipe"}));
}

TEST(PosixFolderFlush, AFolderTheDriveFailsToFlushIsReported)
{
    test::DriveImage drive("ext4");
    if (!drive.mounted())
        GTEST_SKIP() << "no drive to fail: " << drive.whyNot();
    const posix::UniqueFd folder(::open(drive.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_TRUE(folder);
    EXPECT_TRUE(posix::syncFolder(folder.get()).ok());
    // The drive shuts itself down, as ext4 does after a write error.
    constexpr unsigned long Shutdown = _IOR('X', 125, std::uint32_t);
    std::uint32_t withoutFlushingTheJournal = 2;
    ASSERT_EQ(::ioctl(folder.get(), Shutdown, &withoutFlushingTheJournal), 0);
    EXPECT_TRUE(failedWith(posix::syncFolder(folder.get()),
                           "the folder could not be flushed to the disk: the disk could not be "
                           "read or written"));
}
