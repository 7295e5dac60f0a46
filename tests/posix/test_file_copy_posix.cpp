// A whole copy on what only Linux has: permission bits, links, pipes, a second
// drive in /dev/shm.
#include "FileLayerExpect.h"
#include "HostFilesTest.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace marlo;
using test::failedWith;

namespace {

class PosixFileCopy : public test::HostFilesTest {};

} // namespace

TEST_F(PosixFileCopy, CopiesBetweenDrivesByReadingAndWriting)
{
    if (::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second drive";
    test::FileTestFolder other("/dev/shm");
    const std::string content((3 << 20) + 5, 'q');
    other.write("src", content);
    ASSERT_TRUE(copyFile(*files, other.chosen("src"), dir.chosen("dst")).ok());
    EXPECT_TRUE(dir.read("dst") == content);
}

TEST_F(PosixFileCopy, AnExistingDestinationKeepsItsPermissionsANewOneIsWritable)
{
    dir.write("src", "new", 0444);
    dir.write("kept", "old", 0640);
    ASSERT_TRUE(copyFile(*files, dir.chosen("src"), dir.chosen("kept")).ok());
    EXPECT_EQ(dir.mode("kept"), 0640u);
    dir.write("program", "old", 04755); // set-id bits belong to the old content
    ASSERT_TRUE(copyFile(*files, dir.chosen("src"), dir.chosen("program")).ok());
    EXPECT_EQ(dir.mode("program"), 0755u);

    const mode_t mask = ::umask(022);
    ASSERT_TRUE(copyFile(*files, dir.chosen("src"), dir.chosen("made")).ok());
    ::umask(mask);
    EXPECT_EQ(dir.read("made"), "new");
    EXPECT_EQ(dir.mode("made"), 0644u); // a read-only template must not give a read-only copy
}

TEST_F(PosixFileCopy, ALinkedDestinationReceivesTheCopyInItsTargetAndStaysALink)
{
    ::mkdir((dir / "real").c_str(), 0755);
    dir.write("real/target", "old");
    dir.write("src", "new");
    ::symlink("real/target", (dir / "link").c_str());
    ASSERT_TRUE(copyFile(*files, dir.chosen("src"), dir.chosen("link")).ok());
    EXPECT_EQ(std::filesystem::read_symlink(dir / "link"), "real/target");
    EXPECT_EQ(dir.read("real/target"), "new");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"link", "real", "src"}));
    EXPECT_EQ(std::filesystem::directory_iterator(dir / "real")->path().filename(), "target");

    test::setMode(dir / "real/target", 0444);
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("src"), dir.chosen("link")),
                           FileFailure::DestinationReadOnly));
    ::symlink("real/missing", (dir / "dangling").c_str());
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("src"), dir.chosen("dangling")),
                           FileFailure::DestinationLinkMissing));
    EXPECT_FALSE(dir.has("real/missing"));
}

TEST_F(PosixFileCopy, PipesAndLinksAreNoOrdinaryFiles)
{
    dir.write("src", "new");
    ::mkfifo((dir / "pipe").c_str(), 0644);
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("pipe"), dir.chosen("dst")),
                           FileFailure::SourceNotOrdinary));
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("src"), dir.chosen("pipe")),
                           FileFailure::DestinationNotOrdinary));
    dir.write("MARLOCON.MDB", "live");
    ::link((dir / "MARLOCON.MDB").c_str(), (dir / "hardlink").c_str());
    ::symlink("MARLOCON.MDB", (dir / "symlink").c_str());
    for (const FilePath& destination : {dir.chosen("hardlink"), dir.chosen("symlink")})
        EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("MARLOCON.MDB"), destination),
                               FileFailure::SameFile));
    EXPECT_EQ(dir.read("MARLOCON.MDB"), "live");
    EXPECT_EQ(dir.names(),
              (std::vector<std::string>{"MARLOCON.MDB", "hardlink", "pipe", "src", "symlink"}));
}
