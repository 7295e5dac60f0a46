// A whole copy on real folders, on Linux and on Windows alike: what it refuses
// before anything is written, and what a copy leaves behind.
#include "FailureNotice.h"
#include "FileLayerExpect.h"
#include "HostFilesTest.h"

#include <gtest/gtest.h>

using namespace marlo;
using test::failedWith;

namespace {

class FileCopy : public test::HostFilesTest {
protected:
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
    ASSERT_TRUE(copyFile(*files, dir.chosen("src"), dir.chosen("dst")).ok());
    EXPECT_TRUE(dir.read("dst") == content);
    EXPECT_TRUE(dir.read("src") == content);
    ASSERT_TRUE(copyFile(*files, dir.chosen("empty"), dir.chosen("dst")).ok());
    EXPECT_EQ(dir.read("dst"), "");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"dst", "empty", "src"}));
}

TEST_F(FileCopy, RefusesBeforeWritingAnything)
{
    dir.write("src", "new");
    dir.write("readonly", "old");
    dir.setReadOnly("readonly");
    dir.makeFolder("folder");
    const char sep = test::FileTestFolder::Separator;

    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("missing"), dir.chosen("dst")),
                           FileFailure::SourceMissing));
    EXPECT_TRUE(failedWith(copyFile(*files, dir.member("missing"), dir.member("dst")),
                           FileFailure::SourceMissing));
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("folder"), dir.chosen("dst")),
                           FileFailure::SourceIsFolder));
    // Read-only whatever the overwrite flag, and for root too.
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("src"), dir.chosen("readonly")),
                           FileFailure::DestinationReadOnly));
    EXPECT_TRUE(failedWith(
        copyFile(*files, dir.chosen("src"), test::chosenPath(dir / "nowhere" + sep + "dst")),
        FileFailure::DestinationFolderMissing));
    EXPECT_TRUE(
        failedWith(copyFile(*files, dir.chosen("src"), test::chosenPath(dir / "src" + sep + "dst")),
                   FileFailure::DestinationFolderMissing));
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("src"), dir.chosen("folder")),
                           FileFailure::DestinationIsFolder));
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("src"), dir.member("folder")),
                           FileFailure::DestinationIsFolder));
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("src"), test::chosenPath(dir.path() + sep)),
                           FileFailure::DestinationIsFolder));
    dir.write("taken", "old");
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("src"), dir.chosen("taken"), {false, {}}),
                           FileFailure::DestinationExists));

    EXPECT_EQ(dir.names(), (std::vector<std::string>{"folder", "readonly", "src", "taken"}));
    EXPECT_EQ(dir.read("readonly"), "old");
    EXPECT_EQ(dir.read("taken"), "old");
    EXPECT_TRUE(std::filesystem::is_empty(dir / "folder"));
}

TEST_F(FileCopy, ACopyOntoItselfIsRefusedAndKeepsTheContent)
{
    dir.write("MARLOCON.MDB", "live");
    constexpr FileFailure same = FileFailure::SameFile;
    const FilePath dot = test::chosenPath(dir.path() + test::FileTestFolder::Separator + "." +
                                          test::FileTestFolder::Separator + "MARLOCON.MDB");
    for (const FilePath& destination :
         {dir.chosen("MARLOCON.MDB"), dir.member("MARLOcon.mdb"), dot})
        EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("MARLOCON.MDB"), destination), same))
            << destination.text();
    EXPECT_TRUE(
        failedWith(copyFile(*files, dir.member("marlocon.mdb"), dir.chosen("MARLOCON.MDB")), same));
    EXPECT_EQ(dir.read("MARLOCON.MDB"), "live");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"MARLOCON.MDB"}));
}

TEST_F(FileCopy, ProgressIsReportedAndACancelLeavesTheDestinationAsItWas)
{
    const std::string content = bigContent(20 << 20, 'p');
    dir.write("src", content);
    dir.write("dst", "old");

    std::vector<std::uint64_t> seen;
    std::vector<CopyStep::Phase> phases;
    CopyProgress progress = [&](const CopyStep& step) {
        EXPECT_EQ(step.total, content.size());
        EXPECT_EQ(step.attempt, 1);
        phases.push_back(step.phase);
        if (step.phase == CopyStep::Phase::Reading)
            seen.push_back(step.done);
        return true;
    };
    ASSERT_TRUE(copyFile(*files, dir.chosen("src"), dir.chosen("dst"), {true, progress}).ok());
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front(), 0u);
    EXPECT_EQ(seen.back(), content.size());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    // Finishing is told once, last.
    EXPECT_EQ(std::count(phases.begin(), phases.end(), CopyStep::Phase::Finishing), 1);
    EXPECT_EQ(phases.back(), CopyStep::Phase::Finishing);

    dir.write("dst", "old");
    for (int stopAt : {0, 1}) {
        int calls = 0;
        progress = [&](const CopyStep&) { return calls++ < stopAt; };
        const Status cancelled =
            copyFile(*files, dir.chosen("src"), dir.chosen("dst"), {true, progress});
        ASSERT_FALSE(cancelled.ok());
        // The command's box says that the user cancelled, not why it failed.
        EXPECT_TRUE(failureNotice(FileCommand::Export, "MARLOCON.MDB", "dst", cancelled.error())
                        .starts_with(" The export of MARLOCON.MDB to your selected file was "
                                     "cancelled ! "));
        EXPECT_EQ(dir.read("dst"), "old");
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"dst", "src"}));
    }
}

TEST_F(FileCopy, ALongNameStillGetsItsHiddenTemporaryFile)
{
    const std::string name(255, 'L');
    dir.write("src", "new");
    ASSERT_TRUE(copyFile(*files, dir.chosen("src"), dir.chosen(name)).ok());
    EXPECT_EQ(dir.read(name), "new");
    EXPECT_EQ(dir.names().size(), 2u);
}

TEST_F(FileCopy, AReadOnlyTemplateGivesAWritableCopy)
{
    dir.write("template", "empty");
    dir.setReadOnly("template");
    ASSERT_TRUE(copyFile(*files, dir.member("template"), dir.member("live")).ok());
    EXPECT_EQ(dir.read("live"), "empty");
    EXPECT_TRUE(files->DeleteFile(dir.member("live"), false).ok());
}

TEST_F(FileCopy, PathsPastTwoHundredAndSixtyCharactersWork)
{
    std::string deep = dir.path();
    for (int level = 0; level < 4; ++level) {
        deep += test::FileTestFolder::Separator + std::string(80, static_cast<char>('a' + level));
        std::filesystem::create_directory(deep);
    }
    const std::string farPath = deep + test::FileTestFolder::Separator + "far.mdb";
    ASSERT_GT(farPath.size(), 300u);
    const FilePath far = test::chosenPath(farPath), farBackup = test::chosenPath(farPath + ".bak");
    dir.write("near.mdb", "content");
    ASSERT_TRUE(copyFile(*files, dir.chosen("near.mdb"), far).ok());
    EXPECT_TRUE(files->FileExists(far).value());
    ASSERT_TRUE(files->MoveFile(far, farBackup).ok());
    ASSERT_TRUE(copyFile(*files, farBackup, dir.chosen("back.mdb")).ok());
    EXPECT_EQ(dir.read("back.mdb"), "content");
    EXPECT_TRUE(files->DeleteFile(farBackup, false).ok());
    EXPECT_FALSE(files->FileExists(farBackup).value());
}

TEST_F(FileCopy, AStagedCopyTakesTheDestinationsNameOnlyWhenPlaced)
{
    dir.write("src", "new");
    dir.write("dst", "old");
    {
        const auto staged = files->StageCopy(dir.chosen("src"), dir.member("dst"), {});
        ASSERT_TRUE(staged.ok()) << staged.error().description;
        EXPECT_EQ(dir.read("dst"), "old");
    }
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"dst", "src"}));

    auto staged = files->StageCopy(dir.chosen("src"), dir.member("dst"), {});
    ASSERT_TRUE(staged.ok()) << staged.error().description;
    dir.write("src", "written after the copy was staged");
    ASSERT_TRUE(staged.value()->Place().ok());
    EXPECT_EQ(dir.read("dst"), "new");
    staged.value().reset();
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"dst", "src"}));
}

TEST_F(FileCopy, StagingAndPlacingBothRefuseAReadOnlyDestination)
{
    dir.write("src", "new");
    dir.write("dst", "old");
    dir.write("readonly", "kept");
    dir.setReadOnly("readonly");
    EXPECT_TRUE(failedWith(files->StageCopy(dir.chosen("src"), dir.chosen("readonly"), {}).status(),
                           FileFailure::DestinationReadOnly));
    // The destination is looked at again when the copy takes its name.
    auto staged = files->StageCopy(dir.chosen("src"), dir.member("dst"), {});
    ASSERT_TRUE(staged.ok()) << staged.error().description;
    dir.setReadOnly("dst");
    EXPECT_TRUE(failedWith(staged.value()->Place(), FileFailure::DestinationReadOnly));
    EXPECT_EQ(dir.read("dst"), "old");
    staged.value().reset();
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"dst", "readonly", "src"}));
}

TEST_F(FileCopy, AKeptBackupHoldsTheOldContentOnceTheNewIsPlaced)
{
    dir.write("MARLOcon.mdb", "old");
    dir.write("MARLOmdb.bak", "older");
    dir.write("import.mdb", "new");
    const FilePath live = dir.member("MARLOcon.mdb");
    EXPECT_TRUE(failedWith(files->KeepBackup(live, dir.member("MARLOMDB.BAK"), {}),
                           FileFailure::NewNameTaken));
    EXPECT_TRUE(failedWith(files->KeepBackup(dir.member("missing.mdb"), dir.member("x.bak"), {}),
                           FileFailure::FileMissing));
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "old");
    EXPECT_EQ(dir.read("MARLOmdb.bak"), "older");
    ASSERT_TRUE(files->MoveFile(dir.member("MARLOmdb.bak"), dir.member("MARLOmdb.ba2")).ok());

    auto staged = files->StageCopy(dir.chosen("import.mdb"), live, {});
    ASSERT_TRUE(staged.ok()) << staged.error().description;
    ASSERT_TRUE(files->KeepBackup(live, dir.member("MARLOmdb.bak"), {}).ok());
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "old");
    EXPECT_EQ(dir.read("MARLOmdb.bak"), "old");
    ASSERT_TRUE(staged.value()->Place().ok());
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "new");
    EXPECT_EQ(dir.read("MARLOmdb.bak"), "old");
    EXPECT_EQ(dir.read("MARLOmdb.ba2"), "older");
    staged.value().reset();
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"MARLOcon.mdb", "MARLOmdb.ba2", "MARLOmdb.bak",
                                                     "import.mdb"}));
}

// What a command's undo and its last step rely on: a kept backup goes again
// leaving the database, and a placement where there was no file refuses one
// that appeared meanwhile.
TEST_F(FileCopy, AKeptBackupGoesAgainAndAFileThatAppearedIsNotReplaced)
{
    dir.write("MARLOcon.mdb", "old");
    dir.write("import.mdb", "new");
    const FilePath live = dir.member("MARLOcon.mdb");
    ASSERT_TRUE(files->KeepBackup(live, dir.member("MARLOmdb.bak"), {}).ok());
    ASSERT_TRUE(files->RemoveKeptBackup(dir.member("MARLOmdb.bak")).ok());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"MARLOcon.mdb", "import.mdb"}));
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "old");

    auto staged = files->StageCopy(dir.chosen("import.mdb"), dir.member("MARLOspm.mdb"), {});
    ASSERT_TRUE(staged.ok()) << staged.error().description;
    ASSERT_TRUE(staged.value()->CheckDestination().ok());
    dir.write("MARLOspm.mdb", "made meanwhile");
    EXPECT_TRUE(failedWith(staged.value()->PlaceNew(), FileFailure::DestinationExists));
    EXPECT_EQ(dir.read("MARLOspm.mdb"), "made meanwhile");
}

// A backup left a second name of its live database (a kill between the two
// steps) is made a file of its own: the live file's later writes no longer
// reach it. Two names of two files, or a missing one, are left alone.
TEST_F(FileCopy, ABackupThatIsASecondNameOfItsDatabaseBecomesAFileOfItsOwn)
{
    dir.write("MARLOcon.mdb", "old");
    const FilePath live = dir.member("MARLOcon.mdb"), backup = dir.member("MARLOmdb.bak");
    ASSERT_TRUE(files->KeepBackup(live, backup, {}).ok());
    // A drive without links kept a copy already: a write in place tells (the
    // count of links is not known to every host's library).
    std::ofstream(dir / "MARLOcon.mdb", std::ios::app) << "+";
    const bool linked = dir.read("MARLOmdb.bak") == "old+";
    const Result<bool> separated = files->SeparateBackup(live, backup);
    ASSERT_TRUE(separated.ok()) << separated.error().description;
    EXPECT_EQ(separated.value(), linked);
    std::ofstream(dir / "MARLOcon.mdb", std::ios::app) << " written later";
    EXPECT_EQ(dir.read("MARLOmdb.bak"), linked ? "old+" : "old");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"MARLOcon.mdb", "MARLOmdb.bak"}));
    for (const FilePath& other : {backup, dir.member("MARLOmdb.ba2")}) {
        const Result<bool> again = files->SeparateBackup(live, other);
        ASSERT_TRUE(again.ok()) << again.error().description;
        EXPECT_FALSE(again.value());
    }
}

// One command at a time in a folder: a second hold is refused until the
// first goes, and the words say why.
TEST_F(FileCopy, AFolderIsHeldByOneCommandAtATime)
{
    auto first = files->HoldFolder(dir.path());
    ASSERT_TRUE(first.ok()) << first.error().description;
    ASSERT_TRUE(first.value()->excludes());
    EXPECT_TRUE(failedWith(files->HoldFolder(dir.path()).status(), FileFailure::FolderHeld));
    // The holder's own work in the folder goes on.
    dir.write("a", "a");
    EXPECT_TRUE(files->MoveFile(dir.member("a"), dir.member("b")).ok());
    first.value().reset();
    EXPECT_TRUE(files->HoldFolder(dir.path()).ok());
}

// The oldest generation is set aside only where it could be deleted.
TEST_F(FileCopy, AReadOnlyOldestGenerationIsNotSetAside)
{
    dir.write("MARLOmdb.ba5", "oldest");
    dir.setReadOnly("MARLOmdb.ba5");
    EXPECT_TRUE(failedWith(files->SetAside(dir.member("MARLOmdb.ba5"), dir.member(".aside")),
                           FileFailure::FileReadOnly));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"MARLOmdb.ba5"});
}
