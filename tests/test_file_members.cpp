// Members of the file set are found under any capitalisation, as the tools
// expect of their file system; names the file chooser returns are literal.
#include "FileLayerExpect.h"
#include "FileSystem.h"
#include "FileTestFolder.h"

#include <gtest/gtest.h>

using namespace marlo;
using test::failedWith;
using Names = std::vector<std::string>;

namespace {

class FileMembers : public ::testing::Test {
protected:
    test::FileTestFolder dir;
    std::unique_ptr<FileSystem> files = makeHostFileSystem([this] { return dir.path(); });
};

} // namespace

TEST_F(FileMembers, AMemberIsFoundUnderAnyCapitalisation)
{
    dir.write("MARLOCON.MDB", "live");
    dir.write("CVMDB1.BIN", "template");
    const auto found = files->FileExists(dir.member("MARLOcon.mdb"));
    ASSERT_TRUE(found.ok());
    EXPECT_TRUE(found.value());
    // A chosen name is taken as it is.
    EXPECT_FALSE(files->FileExists(dir / "MARLOcon.mdb").value());

    ASSERT_TRUE(files->CopyFile(dir.member("MARLOcon.mdb"), dir / "export.mdb", true).ok());
    EXPECT_EQ(dir.read("export.mdb"), "live");
    // Copying over a member replaces it under the name it has.
    ASSERT_TRUE(files->CopyFile(dir.member("cvmdb1.bin"), dir.member("MARLOcon.mdb"), true).ok());
    EXPECT_EQ(dir.read("MARLOCON.MDB"), "template");
    ASSERT_TRUE(files->DeleteFile(dir.member("cvmdb1.bin"), false).ok());
    EXPECT_EQ(dir.names(), (Names{"MARLOCON.MDB", "export.mdb"}));
}

TEST_F(FileMembers, TheExactFormWinsWhereSeveralExist)
{
    dir.write("marlocon.mdb", "lower");
    dir.write("MARLOCON.MDB", "upper");
    // Without the exact form, the first in byte order is taken, every time.
    ASSERT_TRUE(files->CopyFile(dir.member("MARLOcon.mdb"), dir / "out", true).ok());
    EXPECT_EQ(dir.read("out"), "upper");

    dir.write("MARLOcon.mdb", "exact");
    ASSERT_TRUE(files->CopyFile(dir.member("MARLOcon.mdb"), dir / "out", true).ok());
    EXPECT_EQ(dir.read("out"), "exact");
    ASSERT_TRUE(files->MoveFile(dir.member("MARLOcon.mdb"), dir.member("MARLOmdb.bak")).ok());
    EXPECT_EQ(dir.read("MARLOmdb.bak"), "exact");
    EXPECT_EQ(dir.names(), (Names{"MARLOCON.MDB", "MARLOmdb.bak", "marlocon.mdb", "out"}));
}

TEST_F(FileMembers, ANameIsTakenUnderAnyCapitalisation)
{
    dir.write("MARLOcon.mdb", "live");
    dir.write("marlomdb.BAK", "backup");
    EXPECT_TRUE(failedWith(files->MoveFile(dir.member("MARLOcon.mdb"), dir.member("MARLOmdb.bak")),
                           "a file of the new name already exists"));
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "live");
    EXPECT_EQ(dir.read("marlomdb.BAK"), "backup");
    EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "marlomdb.BAK"}));
}

TEST_F(FileMembers, FilesTheToolsCreateTakeTheGivenForm)
{
    dir.write("CVMDB1.BIN", "template");
    dir.write("MARLOSPM.MDB", "live");
    ASSERT_TRUE(files->MoveFile(dir.member("MARLOspm.mdb"), dir.member("MARLOspm.bak")).ok());
    ASSERT_TRUE(files->CopyFile(dir.member("cvmdb1.bin"), dir.member("MARLOcon.mdb"), true).ok());
    EXPECT_EQ(dir.names(), (Names{"CVMDB1.BIN", "MARLOcon.mdb", "MARLOspm.bak"}));
    EXPECT_EQ(dir.read("MARLOspm.bak"), "live");
}

TEST_F(FileMembers, ChosenPathsWithBackslashesAreLiteralNames)
{
    // A backslash is a character of a Linux name; only the one that the tools
    // put after their folder separates.
    ::mkdir((dir / "sub").c_str(), 0755);
    dir.write("sub\\x.mdb", "in the folder");
    dir.write("sub\\MARLOcon.mdb", "not a member");
    const std::string chosen = dir / "sub\\x.mdb";
    EXPECT_TRUE(files->FileExists(chosen).value());
    ASSERT_TRUE(files->CopyFile(chosen, dir / "sub\\copy", true).ok());
    EXPECT_EQ(dir.read("sub\\copy"), "in the folder");
    EXPECT_TRUE(files->FileExists(dir / "sub\\MARLOcon.mdb").value());
    // Two backslashes after the folder: no member, and no file of that name.
    EXPECT_FALSE(files->FileExists(dir.member("sub\\MARLOcon.mdb")).value());
    ASSERT_TRUE(files->DeleteFile(chosen, false).ok());
    EXPECT_EQ(dir.names(), (Names{"sub", "sub\\MARLOcon.mdb", "sub\\copy"}));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "sub"));
}
