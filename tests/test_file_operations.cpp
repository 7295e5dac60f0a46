// The host file layer on real folders, on Linux and on Windows alike: what
// each operation refuses, and that a refusal changes nothing. These run as
// root in CI, where the read-only rules must hold all the same.
#include "FileLayerExpect.h"
#include "HostErrors.h"
#include "HostFilesTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace marlo;
using test::failedWith;

namespace {

class FileOperations : public test::HostFilesTest {};

} // namespace

TEST_F(FileOperations, FileExistsAnswersTrueOnlyForARegularFile)
{
    dir.write("file", "x");
    dir.makeFolder("folder");

    EXPECT_TRUE(exists(dir.chosen("file")));
    EXPECT_TRUE(exists(dir.member("file")));
    EXPECT_FALSE(exists(dir.chosen("folder")));
    EXPECT_FALSE(exists(dir.member("folder")));
    EXPECT_FALSE(exists(dir.chosen("missing")));
    EXPECT_FALSE(
        exists(test::chosenPath(dir / "file" + test::FileTestFolder::Separator + "below")));
    EXPECT_FALSE(exists(dir.chosen(std::string(300, 'n'))));
    EXPECT_FALSE(exists(test::chosenPath("")));
}

TEST_F(FileOperations, MoveGivesTheFileTheNewNameAndNeverReplacesOne)
{
    dir.write("a", "first");
    ASSERT_TRUE(files->MoveFile(dir.chosen("a"), dir.chosen("b")).ok());
    EXPECT_EQ(dir.names(), std::vector<std::string>{"b"});
    EXPECT_EQ(dir.read("b"), "first");

    dir.write("c", "second");
    EXPECT_TRUE(
        failedWith(files->MoveFile(dir.chosen("c"), dir.chosen("b")), FileFailure::NewNameTaken));
    EXPECT_TRUE(
        failedWith(files->MoveFile(dir.member("c"), dir.member("b")), FileFailure::NewNameTaken));
    EXPECT_EQ(dir.read("b"), "first");
    EXPECT_EQ(dir.read("c"), "second");

    // A read-only file is moved like any other; a read-only name is no file.
    dir.setReadOnly("c");
    EXPECT_TRUE(files->MoveFile(dir.member("c"), dir.member("d")).ok());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"b", "d"}));
}

TEST_F(FileOperations, AFailedMoveLeavesBothNamesAsTheyWere)
{
    dir.write("a", "first");
    dir.makeFolder("folder");
    EXPECT_TRUE(failedWith(files->MoveFile(dir.chosen("missing"), dir.chosen("b")),
                           FileFailure::FileMissing));
    EXPECT_TRUE(failedWith(
        files->MoveFile(dir.chosen("a"), test::chosenPath(dir / "nowhere" + dir.Separator + "b")),
        FileFailure::DestinationFolderMissing));
    EXPECT_TRUE(failedWith(files->MoveFile(dir.chosen("folder"), dir.chosen("b")),
                           FileFailure::NameIsFolder));
    EXPECT_TRUE(failedWith(files->MoveFile(dir.chosen("a"), dir.chosen("folder")),
                           FileFailure::NewNameTaken));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a", "folder"}));
    EXPECT_EQ(dir.read("a"), "first");
}

TEST_F(FileOperations, MovesRacingForOneNameLeaveExactlyOneWinner)
{
    constexpr int movers = 6;
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < movers; ++i)
            dir.write("src" + std::to_string(i), std::to_string(i));
        // A spinning start gate: the waits of std::latch can miss their wake-up
        // with the MinGW-w64 runtime and hang the test.
        std::atomic<int> ready{0};
        // One byte each: std::vector<bool> packs its elements into shared
        // words, so threads setting neighbours would overwrite each other.
        std::vector<char> moved(movers);
        std::vector<std::thread> threads;
        for (int i = 0; i < movers; ++i)
            threads.emplace_back([&, i] {
                ready.fetch_add(1);
                while (ready.load() < movers)
                    std::this_thread::yield();
                moved[i] =
                    files->MoveFile(dir.chosen("src" + std::to_string(i)), dir.chosen("dst")).ok();
            });
        for (auto& thread : threads)
            thread.join();

        const auto winner = std::find(moved.begin(), moved.end(), char{1}) - moved.begin();
        ASSERT_EQ(std::count(moved.begin(), moved.end(), char{1}), 1);
        EXPECT_EQ(dir.read("dst"), std::to_string(winner));
        EXPECT_EQ(dir.names().size(), static_cast<std::size_t>(movers));
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directory(dir.path());
    }
}

TEST_F(FileOperations, DeleteRemovesExactlyTheOneFileUnlessItIsReadOnly)
{
    dir.write("a.bak", "a");
    dir.write("b.bak", "b");
    // The owner's missing write permission (Linux, for root too) or the
    // read-only attribute (Windows) rules.
    dir.setReadOnly("a.bak");
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir.chosen("a.bak"), false), FileFailure::FileReadOnly));
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir.member("a.bak"), false), FileFailure::FileReadOnly));
    EXPECT_EQ(dir.read("a.bak"), "a");
    EXPECT_TRUE(files->DeleteFile(dir.chosen("a.bak"), true).ok());
    EXPECT_TRUE(files->DeleteFile(dir.member("b.bak"), false).ok());
    EXPECT_TRUE(dir.names().empty());
}

TEST_F(FileOperations, DeleteRefusesWhatIsNoFile)
{
    dir.makeFolder("folder");
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir.chosen("missing"), false), FileFailure::FileMissing));
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir.member("missing"), false), FileFailure::FileMissing));
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir.chosen("folder"), false), FileFailure::NameIsFolder));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"folder"}));
}

// The spare places of the host's table hold 0: a failure that gave no
// number must neither take a kind's words nor pass for a missing name.
TEST(HostErrors, AFailureWithoutANumberIsOfNoKind)
{
    const Status failed = failure(0);
    EXPECT_EQ(failed.error().number, hostErrors.general);
    EXPECT_EQ(failed.error().description,
              failureWords(FileFailure::Unexpected, hostErrors.ownWords(0)));
    EXPECT_FALSE(meansNoSuchName(0));
}
