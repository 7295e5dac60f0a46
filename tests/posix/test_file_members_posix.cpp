// Members on a Linux drive that tells case apart: which of several forms is
// taken, and chosen names that are taken literally.
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
    EXPECT_FALSE(files->FileExists(dir / "MARLOcon.mdb").value());
    // Without the exact form, the first in byte order is taken, every time.
    ASSERT_TRUE(copyFile(*files, dir.member("MARLOcon.mdb"), dir / "out").ok());
    EXPECT_EQ(dir.read("out"), "upper");

    dir.write("MARLOcon.mdb", "exact");
    ASSERT_TRUE(copyFile(*files, dir.member("MARLOcon.mdb"), dir / "out").ok());
    EXPECT_EQ(dir.read("out"), "exact");
    ASSERT_TRUE(files->MoveFile(dir.member("MARLOcon.mdb"), dir.member("MARLOmdb.bak")).ok());
    EXPECT_EQ(dir.read("MARLOmdb.bak"), "exact");
    EXPECT_EQ(dir.names(), (Names{"MARLOCON.MDB", "MARLOmdb.bak", "marlocon.mdb", "out"}));
}

TEST_F(PosixFileMembers, ChosenPathsWithBackslashesAreLiteralNames)
{
    // A backslash is a character of a Linux name; only the one that the tools
    // put after their folder separates.
    ::mkdir((dir / "sub").c_str(), 0755);
    dir.write("sub\\x.mdb", "in the folder");
    dir.write("sub\\MARLOcon.mdb", "not a member");
    const std::string chosen = dir / "sub\\x.mdb";
    EXPECT_TRUE(files->FileExists(chosen).value());
    ASSERT_TRUE(copyFile(*files, chosen, dir / "sub\\copy").ok());
    EXPECT_EQ(dir.read("sub\\copy"), "in the folder");
    EXPECT_TRUE(files->FileExists(dir / "sub\\MARLOcon.mdb").value());
    // Two backslashes after the folder: no member, and no file of that name.
    EXPECT_FALSE(files->FileExists(dir.member("sub\\MARLOcon.mdb")).value());
    ASSERT_TRUE(files->DeleteFile(chosen, false).ok());
    EXPECT_EQ(dir.names(), (Names{"sub", "sub\\MARLOcon.mdb", "sub\\copy"}));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "sub"));
}
