// A whole copy on what only Linux has: permission bits, links, pipes, a second
// drive in /dev/shm.
#include "FileLayerExpect.h"
#include "HostFilesTest.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

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

// A source that another program writes while it is copied: every reading,
// past its starting size, the check of its content and a new start, can be
// cancelled, and the destination stays as it was.
TEST_F(PosixFileCopy, ACopyCancelledInAnyReadingOfAChangingSourceLeavesTheDestination)
{
    // A drive that clones (XFS, btrfs) copies one instant, with no reading
    // to cancel.
    dir.write("probe", "probe");
    dir.write("clone", "");
    const int from = ::open((dir / "probe").c_str(), O_RDONLY | O_CLOEXEC);
    const int to = ::open((dir / "clone").c_str(), O_WRONLY | O_CLOEXEC);
    const bool clones = ::ioctl(to, FICLONE, from) == 0;
    ::close(from);
    ::close(to);
    std::filesystem::remove(dir / "probe");
    std::filesystem::remove(dir / "clone");
    if (clones)
        GTEST_SKIP() << "the drive clones a copy in one step";
    using Phase = CopyStep::Phase;
    constexpr std::uint64_t Start = 4 << 20;
    // A source stamped ahead is one whose stamps cannot tell a change: its
    // content is checked. One that grows is written on at the first report.
    const struct {
        const char* name;
        bool stampAhead, grows;
        Phase stopIn;
        int attempt;
        bool afterReading;
    } cases[] = {{"past its starting size", false, true, Phase::Reading, 1, true},
                 {"starting over", false, true, Phase::Reading, 2, true},
                 {"checking before reading", true, false, Phase::Checking, 1, false},
                 {"checking after reading", true, false, Phase::Checking, 1, true}};
    for (const auto& c : cases) {
        dir.write("src", std::string(Start, 's'));
        dir.write("dst", "old");
        const timespec ahead[2] = {{::time(nullptr) + 3600, 0}, {::time(nullptr) + 3600, 0}};
        if (c.stampAhead) {
            ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "src").c_str(), ahead, 0), 0);
        }
        bool grown = false, read = false, stopped = false;
        const auto progress = [&](const CopyStep& step) {
            if (c.grows && !std::exchange(grown, true))
                std::ofstream(dir / "src", std::ios::app) << std::string(5 * Start, 'g');
            stopped = stopped || (step.phase == c.stopIn && step.attempt == c.attempt &&
                                  read == c.afterReading && step.done < step.total &&
                                  (!c.grows || step.done > Start));
            read = read || step.phase == Phase::Reading;
            return !stopped;
        };
        const Status copied =
            copyFile(*files, dir.chosen("src"), dir.chosen("dst"), {true, progress});
        EXPECT_TRUE(stopped && !copied.ok() && copied.error().cancelled) << c.name;
        EXPECT_EQ(dir.read("dst"), "old") << c.name;
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"dst", "src"})) << c.name;
    }
}

// Where the drive has no links (here: none across drives) the backup is a
// whole copy, which reports and can be cancelled as every other.
TEST_F(PosixFileCopy, ABackupCopiedForWantOfLinksReportsAndCanBeCancelled)
{
    if (::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second drive";
    test::FileTestFolder other("/dev/shm");
    const std::string content(3 << 20, 'k');
    other.write("MARLOcon.mdb", content);
    CopyStep last;
    const auto report = [&](const CopyStep& step) {
        last = step;
        return true;
    };
    ASSERT_TRUE(
        files->KeepBackup(other.chosen("MARLOcon.mdb"), dir.member("MARLOmdb.bak"), report).ok());
    EXPECT_EQ(dir.read("MARLOmdb.bak"), content);
    EXPECT_EQ(last.phase, CopyStep::Phase::Finishing);
    EXPECT_EQ(last.done, content.size());

    const auto refuse = [](const CopyStep&) { return false; };
    const Status cancelled =
        files->KeepBackup(other.chosen("MARLOcon.mdb"), dir.member("MARLOmdb.ba2"), refuse);
    EXPECT_TRUE(!cancelled.ok() && cancelled.error().cancelled);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"MARLOmdb.bak"}));
    EXPECT_EQ(other.read("MARLOcon.mdb"), content);
}
