// Members on a Linux drive that tells case apart: which of several forms is
// taken, chosen names that are taken literally, and members named in reports.
#include "ChangeTexts.h"
#include "FamilyChange.h"
#include "FileLayerExpect.h"
#include "HostFilesTest.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace marlo;
using Names = std::vector<std::string>;

namespace {

class PosixFileMembers : public test::HostFilesTest {};

} // namespace

TEST_F(PosixFileMembers, TheExactFormWinsWhereSeveralExist)
{
    dir.write("marlocon.mdb", "lower");
    dir.write("MARLOCON.MDB", "upper");
    // A chosen name is taken as it is.
    EXPECT_FALSE(files->FileExists(dir.chosen("MARLOcon.mdb")).value());
    // Without the exact form, the first in byte order is taken, every time.
    ASSERT_TRUE(copyFile(*files, dir.member("MARLOcon.mdb"), dir.chosen("out")).ok());
    EXPECT_EQ(dir.read("out"), "upper");

    dir.write("MARLOcon.mdb", "exact");
    ASSERT_TRUE(copyFile(*files, dir.member("MARLOcon.mdb"), dir.chosen("out")).ok());
    EXPECT_EQ(dir.read("out"), "exact");
    ASSERT_TRUE(files->MoveFile(dir.member("MARLOcon.mdb"), dir.member("MARLOmdb.bak")).ok());
    EXPECT_EQ(dir.read("MARLOmdb.bak"), "exact");
    EXPECT_EQ(dir.names(), (Names{"MARLOCON.MDB", "MARLOmdb.bak", "marlocon.mdb", "out"}));
}

TEST_F(PosixFileMembers, ChosenPathsWithBackslashesAreLiteralNames)
{
    // A backslash in a chosen path is a character of a Linux name.
    ::mkdir((dir / "sub").c_str(), 0755);
    dir.write("sub\\x.mdb", "in the folder");
    dir.write("sub\\MARLOcon.mdb", "not a member");
    const FilePath chosen = dir.chosen("sub\\x.mdb");
    EXPECT_TRUE(files->FileExists(chosen).value());
    ASSERT_TRUE(copyFile(*files, chosen, dir.chosen("sub\\copy")).ok());
    EXPECT_EQ(dir.read("sub\\copy"), "in the folder");
    EXPECT_TRUE(files->FileExists(dir.chosen("sub\\MARLOcon.mdb")).value());
    // Spelled as the tools write a member of "sub": still one literal name,
    // and no file has it.
    EXPECT_FALSE(files->FileExists(test::chosenPath(dir.path() + "\\sub\\MARLOcon.mdb")).value());
    ASSERT_TRUE(files->DeleteFile(chosen, false).ok());
    EXPECT_EQ(dir.names(), (Names{"sub", "sub\\MARLOcon.mdb", "sub\\copy"}));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "sub"));
}

TEST_F(PosixFileMembers, AReportNamesAMemberByItsOwnName)
{
    // A folder holds the next generation's name: the newest cannot move up.
    dir.write("MARLOcon.mdb", "live");
    dir.write("MARLOmdb.bak", "newest");
    dir.makeFolder("MARLOmdb.ba2");
    FamilyChange change(*files, dir.path(), Database::Con);
    const Status shifted = change.shiftRun();
    ASSERT_FALSE(shifted.ok());
    EXPECT_TRUE(
        shifted.error().description.starts_with(texts::backupCannotMoveUp("MARLOmdb.bak") + ": "))
        << shifted.error().description;
    EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "MARLOmdb.ba2", "MARLOmdb.bak"}));
}
