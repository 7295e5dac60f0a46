// One command at a time in a folder, across processes, and a backup that a
// stopped command left as a second name of its live database made a file
// of its own.
#include "FileLayerExpect.h"
#include "HelperProcess.h"
#include "WinFilesTest.h"

#include <gtest/gtest.h>

#include "WinSystem.h"

#include <fstream>

using namespace marlo;
using test::failedWith;
using test::helperProgram;
using test::Names;
using test::WinFiles;

namespace {

::testing::AssertionResult refusedAsHeld(const Result<std::unique_ptr<FolderHold>>& hold)
{
    if (hold.ok())
        return ::testing::AssertionFailure() << "held";
    return failedWith(hold.status(), FileFailure::FolderHeld);
}

} // namespace

TEST_F(WinFiles, AFolderIsHeldForOneCommandAtATimeUnderEverySpellingOfItsPath)
{
    dir.makeFolder("other");
    std::string shouted = dir.path();
    for (char& c : shouted)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    {
        auto first = files->HoldFolder(dir.path());
        ASSERT_TRUE(first.ok());
        EXPECT_TRUE(first.value()->excludes());
        EXPECT_TRUE(refusedAsHeld(files->HoldFolder(dir.path())));
        EXPECT_TRUE(refusedAsHeld(files->HoldFolder(shouted + "/")));
        EXPECT_TRUE(refusedAsHeld(files->HoldFolder(dir / "other\\..")));
        EXPECT_TRUE(files->HoldFolder(dir / "other").ok()) << "another folder is another hold";
    }
    EXPECT_TRUE(files->HoldFolder(dir.path()).ok()) << "let go with the first";
    EXPECT_FALSE(files->HoldFolder(dir / "missing").ok());
    EXPECT_EQ(dir.names(), Names{"other"}) << "nothing left on the drive";
}

TEST_F(WinFiles, AnotherProcessHoldingTheFolderRefusesTheCommandUntilItEndsHoweverItEnds)
{
    for (const bool killed : {false, true}) {
        test::HelperProcess holder(helperProgram(), "hold-folder \"" + dir.path() + "\"");
        ASSERT_TRUE(holder.ready());
        EXPECT_TRUE(refusedAsHeld(files->HoldFolder(dir.path())));
        if (killed) {
            holder.kill();
        } else {
            holder.closeInput();
            ASSERT_EQ(holder.wait(10000), 0);
        }
        EXPECT_TRUE(files->HoldFolder(dir.path()).ok()) << (killed ? "killed" : "ended");
    }
}

TEST_F(WinFiles, ABackupThatIsASecondNameOfItsDatabaseBecomesAFileOfItsOwn)
{
    dir.write("MARLOcon.mdb", "live content");
    ASSERT_TRUE(
        ::CreateHardLinkA((dir / "MARLOmdb.bak").c_str(), (dir / "MARLOcon.mdb").c_str(), nullptr));
    dir.write("MARLOspm.mdb", "spm");
    dir.write("MARLOspm.bak", "spm backup");
    const struct {
        const char *file, *backup;
        bool separated;
    } cases[] = {
        {"MARLOcon.mdb", "MARLOmdb.bak", true},
        {"MARLOcon.mdb", "MARLOmdb.bak", false}, // once is enough
        {"MARLOspm.mdb", "MARLOspm.bak", false}, // two files already
        {"MARLOspm.mdb", "missing.bak", false},
        {"missing.mdb", "MARLOspm.bak", false},
    };
    for (const auto& c : cases) {
        const Result<bool> separated =
            files->SeparateBackup(dir.member(c.file), dir.member(c.backup));
        ASSERT_TRUE(separated.ok()) << c.backup << ": " << separated.error().description;
        EXPECT_EQ(separated.value(), c.separated) << c.file << " " << c.backup;
    }
    std::ofstream(dir / "MARLOcon.mdb", std::ios::app) << " written later";
    EXPECT_EQ(dir.read("MARLOmdb.bak"), "live content");
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "live content written later");
    EXPECT_EQ(dir.read("MARLOspm.bak"), "spm backup");
    EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "MARLOmdb.bak", "MARLOspm.bak", "MARLOspm.mdb"}));
}
