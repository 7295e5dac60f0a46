// Members of the file set are found under any capitalisation, as the tools
// expect of their file system: Windows does so itself, the Linux layer looks.
#include "FileLayerExpect.h"
#include "HostFilesTest.h"

#include <gtest/gtest.h>

using namespace marlo;
using test::failedWith;
using Names = std::vector<std::string>;

namespace {

class FileMembers : public test::HostFilesTest {};

} // namespace

TEST_F(FileMembers, AMemberIsFoundUnderAnyCapitalisation)
{
    dir.write("MARLOCON.MDB", "live");
    dir.write("CVMDB1.BIN", "template");
    const auto found = files->FileExists(dir.member("MARLOcon.mdb"));
    ASSERT_TRUE(found.ok());
    EXPECT_TRUE(found.value());

    ASSERT_TRUE(copyFile(*files, dir.member("MARLOcon.mdb"), dir.chosen("export.mdb")).ok());
    EXPECT_EQ(dir.read("export.mdb"), "live");
    // Copying over a member replaces it under the name it has.
    ASSERT_TRUE(copyFile(*files, dir.member("cvmdb1.bin"), dir.member("MARLOcon.mdb")).ok());
    EXPECT_EQ(dir.read("MARLOCON.MDB"), "template");
    ASSERT_TRUE(files->DeleteFile(dir.member("cvmdb1.bin"), false).ok());
    EXPECT_EQ(dir.names(), (Names{"MARLOCON.MDB", "export.mdb"}));
}

TEST_F(FileMembers, ANameIsTakenUnderAnyCapitalisation)
{
    dir.write("MARLOcon.mdb", "live");
    dir.write("marlomdb.BAK", "backup");
    EXPECT_TRUE(failedWith(files->MoveFile(dir.member("MARLOcon.mdb"), dir.member("MARLOmdb.bak")),
                           FileFailure::NewNameTaken));
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "live");
    EXPECT_EQ(dir.read("marlomdb.BAK"), "backup");
    EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "marlomdb.BAK"}));
}

TEST_F(FileMembers, FilesTheToolsCreateTakeTheGivenForm)
{
    dir.write("CVMDB1.BIN", "template");
    dir.write("MARLOSPM.MDB", "live");
    ASSERT_TRUE(files->MoveFile(dir.member("MARLOspm.mdb"), dir.member("MARLOspm.bak")).ok());
    ASSERT_TRUE(copyFile(*files, dir.member("cvmdb1.bin"), dir.member("MARLOcon.mdb")).ok());
    EXPECT_EQ(dir.names(), (Names{"CVMDB1.BIN", "MARLOcon.mdb", "MARLOspm.bak"}));
    EXPECT_EQ(dir.read("MARLOspm.bak"), "live");
}
