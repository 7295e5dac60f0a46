// CopyFile on real folders: what it refuses before anything is written, and
// what a copy leaves behind.
#include "FileLayerExpect.h"
#include "FileSystem.h"
#include "FileTestFolder.h"
#include "PosixCopy.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace marlo;
using test::failedWith;

namespace {

class FileCopy : public ::testing::Test {
protected:
    test::FileTestFolder dir;
    std::unique_ptr<FileSystem> files = makeHostFileSystem([this] { return dir.path(); });

    std::string bigContent(std::size_t size, char seed)
    {
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            content[i] = static_cast<char>(seed + i * 131 % 251);
        return content;
    }
};

} // namespace

TEST_F(FileCopy, CopiesTheWholeContentAndKeepsTheSource)
{
    const std::string content = bigContent((40 << 20) + 7, 'a'); // several chunks and a tail
    dir.write("src", content);
    dir.write("dst", "old content");
    dir.write("empty", "");
    ASSERT_TRUE(files->CopyFile(dir / "src", dir / "dst", true).ok());
    EXPECT_TRUE(dir.read("dst") == content);
    EXPECT_TRUE(dir.read("src") == content);
    ASSERT_TRUE(files->CopyFile(dir / "empty", dir / "dst", true).ok());
    EXPECT_EQ(dir.read("dst"), "");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"dst", "empty", "src"}));
}

TEST_F(FileCopy, CopiesBetweenDrivesByReadingAndWriting)
{
    if (::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second drive";
    test::FileTestFolder other("/dev/shm");
    const std::string content = bigContent((3 << 20) + 5, 'q');
    other.write("src", content);
    ASSERT_TRUE(files->CopyFile(other / "src", dir / "dst", true).ok());
    EXPECT_TRUE(dir.read("dst") == content);
}

TEST_F(FileCopy, AnExistingDestinationKeepsItsPermissionsANewOneIsWritable)
{
    dir.write("src", "new", 0444);
    dir.write("kept", "old", 0640);
    ASSERT_TRUE(files->CopyFile(dir / "src", dir / "kept", true).ok());
    EXPECT_EQ(dir.mode("kept"), 0640u);
    dir.write("program", "old", 04755); // set-id bits belong to the old content
    ASSERT_TRUE(files->CopyFile(dir / "src", dir / "program", true).ok());
    EXPECT_EQ(dir.mode("program"), 0755u);

    const mode_t mask = ::umask(022);
    ASSERT_TRUE(files->CopyFile(dir / "src", dir / "made", true).ok());
    ::umask(mask);
    EXPECT_EQ(dir.read("made"), "new");
    EXPECT_EQ(dir.mode("made"), 0644u); // a read-only template must not give a read-only copy
}

TEST_F(FileCopy, RefusesBeforeWritingAnything)
{
    dir.write("src", "new");
    dir.write("readonly", "old", 0444);
    ::mkdir((dir / "folder").c_str(), 0755);
    ::mkfifo((dir / "pipe").c_str(), 0644);

    EXPECT_TRUE(failedWith(files->CopyFile(dir / "missing", dir / "dst", true),
                           "the source file does not exist"));
    EXPECT_TRUE(failedWith(files->CopyFile(dir.member("missing"), dir.member("dst"), true),
                           "the source file does not exist"));
    EXPECT_TRUE(
        failedWith(files->CopyFile(dir / "folder", dir / "dst", true), "the source is a folder"));
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "pipe", dir / "dst", true),
                           "the source is not an ordinary file"));
    // Read-only whatever the overwrite flag, and for root too.
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "src", dir / "readonly", true),
                           "the destination file is read-only"));
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "src", dir / "nowhere/dst", true),
                           "the destination folder does not exist"));
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "src", dir / "src/dst", true),
                           "the destination folder does not exist"));
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "src", dir / "folder", true),
                           "the destination is a folder"));
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "src", dir.member("folder"), true),
                           "the destination is a folder"));
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "src", dir.path() + "/", true),
                           "the destination is a folder"));
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "src", dir / "pipe", true),
                           "the destination is not an ordinary file"));
    dir.write("taken", "old");
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "src", dir / "taken", false),
                           "the destination already exists"));

    EXPECT_EQ(dir.names(),
              (std::vector<std::string>{"folder", "pipe", "readonly", "src", "taken"}));
    EXPECT_EQ(dir.read("readonly"), "old");
    EXPECT_EQ(dir.read("taken"), "old");
    EXPECT_TRUE(std::filesystem::is_empty(dir / "folder"));
}

TEST_F(FileCopy, ACopyOntoItselfIsRefusedAndKeepsTheContent)
{
    dir.write("MARLOCON.MDB", "live");
    ::link((dir / "MARLOCON.MDB").c_str(), (dir / "hardlink").c_str());
    ::symlink("MARLOCON.MDB", (dir / "symlink").c_str());
    const std::string same = "the source and the destination are the same file";
    for (const std::string& destination :
         {dir / "MARLOCON.MDB", dir / "hardlink", dir / "symlink", dir.member("MARLOcon.mdb"),
          dir.path() + "/./MARLOCON.MDB"})
        EXPECT_TRUE(failedWith(files->CopyFile(dir / "MARLOCON.MDB", destination, true), same))
            << destination;
    EXPECT_TRUE(
        failedWith(files->CopyFile(dir.member("marlocon.mdb"), dir / "MARLOCON.MDB", true), same));
    EXPECT_EQ(dir.read("MARLOCON.MDB"), "live");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"MARLOCON.MDB", "hardlink", "symlink"}));
}

TEST_F(FileCopy, ACopyOntoItselfUnderAnotherCapitalisationIsRefused)
{
    // Drives that fold case may number each spelling of a name anew.
    dir.write("MARLOCON.MDB", "live");
    const std::string same = "the source and the destination are the same file";
    EXPECT_TRUE(
        failedWith(files->CopyFile(dir.member("marlocon.mdb"), dir / "MARLOCON.MDB", true), same));
    EXPECT_TRUE(
        failedWith(files->CopyFile(dir / "MARLOCON.MDB", dir.member("MARLOcon.mdb"), true), same));
    EXPECT_EQ(dir.read("MARLOCON.MDB"), "live");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"MARLOCON.MDB"});
}

TEST_F(FileCopy, ALinkedDestinationReceivesTheCopyInItsTargetAndStaysALink)
{
    ::mkdir((dir / "real").c_str(), 0755);
    dir.write("real/target", "old");
    dir.write("src", "new");
    ::symlink("real/target", (dir / "link").c_str());
    ASSERT_TRUE(files->CopyFile(dir / "src", dir / "link", true).ok());
    EXPECT_EQ(std::filesystem::read_symlink(dir / "link"), "real/target");
    EXPECT_EQ(dir.read("real/target"), "new");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"link", "real", "src"}));
    EXPECT_EQ(std::filesystem::directory_iterator(dir / "real")->path().filename(), "target");

    test::setMode(dir / "real/target", 0444);
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "src", dir / "link", true),
                           "the destination file is read-only"));
    ::symlink("real/missing", (dir / "dangling").c_str());
    EXPECT_TRUE(failedWith(files->CopyFile(dir / "src", dir / "dangling", true),
                           "the destination is a link to a missing file"));
    EXPECT_FALSE(dir.has("real/missing"));
}

TEST_F(FileCopy, ProgressIsReportedAndACancelLeavesTheDestinationAsItWas)
{
    const std::string content = bigContent(20 << 20, 'p');
    dir.write("src", content);
    dir.write("dst", "old");

    std::vector<std::uint64_t> seen;
    posix::CopyOptions options;
    options.progress = [&](std::uint64_t copied, std::uint64_t total) {
        EXPECT_EQ(total, content.size());
        seen.push_back(copied);
        return true;
    };
    ASSERT_TRUE(posix::copyFileCrashSafe(dir / "src", dir / "dst", options).ok());
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front(), 0u);
    EXPECT_EQ(seen.back(), content.size());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));

    // Written anew: FAT through fusefat keeps a file's old length when it is
    // truncated in place.
    std::filesystem::remove(dir / "dst");
    dir.write("dst", "old");
    for (int stopAt : {0, 1}) {
        int calls = 0;
        options.progress = [&](std::uint64_t, std::uint64_t) { return calls++ < stopAt; };
        EXPECT_TRUE(failedWith(posix::copyFileCrashSafe(dir / "src", dir / "dst", options),
                               "the copy was cancelled"));
        EXPECT_EQ(dir.read("dst"), "old");
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"dst", "src"}));
    }
}

TEST_F(FileCopy, ALongNameStillGetsItsHiddenTemporaryFile)
{
    const std::string name(255, 'L');
    dir.write("src", "new");
    ASSERT_TRUE(files->CopyFile(dir / "src", dir / name, true).ok());
    EXPECT_EQ(dir.read(name), "new");
    EXPECT_EQ(dir.names().size(), 2u);
}
