// What the hold of a folder is on Windows beyond what both hosts share: one
// hold under every spelling of the folder's path, and across processes,
// let go however the holder ends.
#include "FileLayerExpect.h"
#include "HelperProcess.h"
#include "WinFilesTest.h"

#include <gtest/gtest.h>

#include <cctype>

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

TEST_F(WinFiles, AFolderIsHeldUnderEverySpellingOfItsPathAndLeavesNothingBehind)
{
    dir.makeFolder("other");
    std::string shouted = dir.path();
    for (char& c : shouted)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto held = files->HoldFolder(dir.path());
    ASSERT_TRUE(held.ok());
    EXPECT_TRUE(refusedAsHeld(files->HoldFolder(shouted + "/")));
    EXPECT_TRUE(refusedAsHeld(files->HoldFolder(dir / "other\\..")));
    EXPECT_TRUE(files->HoldFolder(dir / "other").ok()) << "another folder is another hold";
    EXPECT_FALSE(files->HoldFolder(dir / "missing").ok());
    EXPECT_EQ(dir.names(), Names{"other"});
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
