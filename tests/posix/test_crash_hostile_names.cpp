// Names a user's disk may hold, through the dbtransfer commands, the reset
// and the file layer: each is taken literally, links keep pointing where
// they did, and a folder is never taken for a file.
#include "ErrorBoxExpect.h"
#include "FakePlatform.h"
#include "FileSystem.h"
#include "FolderSnapshot.h"
#include "ResetSequence.h"
#include "TempFolder.h"
#include "TransferOnDisk.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace marlo;
using namespace marlo::test;

namespace {

std::string repeated(const std::string& piece, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += piece;
    return all;
}

// Names with something for a careless program to trip over.
const std::vector<std::string> hostileNames = {
    "Logbuch Ü – 日本語 ✓.mdb",
    repeated("n", 251) + ".mdb",   // 255 bytes, the most a name may have
    repeated("日", 83) + "ab.mdb", // 255 bytes, most in three-byte characters
    " blank at both ends.mdb ",
    "two  blanks.mdb",
    "   ",
    "*.mdb",
    "?.mdb",
    "[ab].mdb",
    "a*b?c[!x].mdb",
    "-rf.mdb",
    "--help",
    "back\\slash.mdb",
    "line\nbreak.mdb",
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<none>";
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// An application folder with both live databases, and a folder of the
// user's with files that a pattern would match.
class HostileNames : public ::testing::Test {
protected:
    TempFolder root;
    const std::string app = root / "app";
    const std::string user = root / "user files";
    TransferOnDisk transfer{app};

    void SetUp() override
    {
        std::filesystem::create_directory(app);
        std::filesystem::create_directory(user);
        writeFile(app + "/MARLOcon.mdb", "live CON");
        writeFile(app + "/MARLOspm.mdb", "live SPM");
        for (const char* decoy : {"a.mdb", "b.mdb", "-", "n.mdb", "x"})
            writeFile(user + "/" + decoy, std::string("decoy ") + decoy);
    }
};

} // namespace

TEST_F(HostileNames, EveryCommandTakesTheChosenNameLiterally)
{
    ASSERT_EQ(hostileNames[1].size(), 255u);
    ASSERT_EQ(hostileNames[2].size(), 255u);
    const Snapshot userBefore = snapshot(user), appBefore = snapshot(app);
    int commands = 0;
    for (const std::string& name : hostileNames) {
        SCOPED_TRACE("name \"" + name + "\" of " + std::to_string(name.size()) + " bytes");
        // A name without a dot is saved with the default extension.
        const std::string chosen = user + "/" + name;
        const std::string saved = name.find('.') == std::string::npos ? chosen + ".mdb" : chosen;

        EXPECT_EQ(transfer.exportTo(Database::Con, chosen), std::nullopt);
        EXPECT_EQ(readFile(saved), "live CON") << "export onto a new name";
        EXPECT_EQ(transfer.exportTo(Database::Spm, chosen), std::nullopt);
        EXPECT_EQ(readFile(saved), "live SPM") << "export onto the existing name";
        EXPECT_EQ(transfer.importFrom(Database::Con, saved), std::nullopt);
        EXPECT_EQ(readFile(app + "/MARLOcon.mdb"), "live SPM") << "import";
        EXPECT_EQ(readFile(app + "/MARLOmdb.bak"), "live CON") << "the replaced database kept";
        std::filesystem::remove(app + "/MARLOmdb.bak");
        EXPECT_EQ(transfer.remove(saved), std::nullopt);
        EXPECT_TRUE(transfer.reachedTheFileOperation());
        commands += 4;

        // Only that one file came and went; no other file was touched.
        EXPECT_EQ(snapshot(user), userBefore);
        writeFile(app + "/MARLOcon.mdb", "live CON");
        EXPECT_EQ(snapshot(app), appBefore);
    }
    std::cout << hostileNames.size() << " hostile names, " << commands
              << " exports, imports and deletes, each on that one name only" << std::endl;
}

TEST_F(HostileNames, ALinkKeepsPointingWhereItDidAndItsTargetReceivesTheCopy)
{
    std::filesystem::create_directory(root / "data");
    writeFile(root / "data/con.mdb", "linked CON");
    writeFile(root / "data/export.mdb", "old export");
    // The live database kept elsewhere and linked into the application folder.
    std::filesystem::remove(app + "/MARLOcon.mdb");
    ::symlink("../data/con.mdb", (app + "/MARLOcon.mdb").c_str());
    ::symlink("../data/export.mdb", (user + "/export link.mdb").c_str());
    ::symlink("../data/missing.mdb", (user + "/dangling.mdb").c_str());
    const auto linkOf = [](const std::string& path) {
        return std::filesystem::read_symlink(path).string();
    };

    EXPECT_EQ(transfer.exportTo(Database::Con, user + "/export link.mdb"), std::nullopt);
    EXPECT_EQ(readFile(root / "data/export.mdb"), "linked CON");
    EXPECT_EQ(linkOf(user + "/export link.mdb"), "../data/export.mdb");

    writeFile(user + "/import.mdb", "imported");
    EXPECT_EQ(transfer.importFrom(Database::Con, user + "/import.mdb"), std::nullopt);
    EXPECT_EQ(readFile(root / "data/con.mdb"), "imported");
    EXPECT_EQ(linkOf(app + "/MARLOcon.mdb"), "../data/con.mdb");

    // A link to nothing: nothing is made where it points, and it stays.
    EXPECT_TRUE(errorBoxNames(transfer.exportTo(Database::Con, user + "/dangling.mdb"),
                              user + "/dangling.mdb",
                              "the destination is a link to a missing file"));
    EXPECT_FALSE(std::filesystem::exists(root / "data/missing.mdb"));
    EXPECT_EQ(linkOf(user + "/dangling.mdb"), "../data/missing.mdb");

    // Deleting a link removes the link, not what it points to.
    EXPECT_EQ(transfer.remove(user + "/export link.mdb"), std::nullopt);
    EXPECT_FALSE(std::filesystem::is_symlink(user + "/export link.mdb"));
    EXPECT_EQ(readFile(root / "data/export.mdb"), "linked CON");
    std::cout << "links: 1 export and 1 import through a link, 1 export onto a dangling link "
                 "refused, 1 link deleted; every target where it was"
              << std::endl;
}

TEST_F(HostileNames, AFolderOrAnImpossibleNameIsNoFile)
{
    std::filesystem::create_directory(user + "/folder.mdb");
    writeFile(user + "/folder.mdb/inside.mdb", "inside");
    const std::string tooLong = user + "/" + repeated("L", 252) + ".mdb"; // 256 bytes
    const Snapshot before = snapshot(user), appBefore = snapshot(app);
    const std::string missingImport = " Your selected file does not exist! Aborting... ";
    const std::string missingDelete = " Your selected file to delete does not exist ! Aborting... ";
    const auto lastNotice = [&] { return transfer.platform.calls.back(); };

    // FileExists answers false, so the export copies without a question and
    // the copy fails; an import or a delete reports a missing file.
    EXPECT_TRUE(errorBoxNames(transfer.exportTo(Database::Con, user + "/folder.mdb"),
                              user + "/folder.mdb", "the destination is a folder"));
    EXPECT_TRUE(errorBoxNames(transfer.exportTo(Database::Con, user + "/x/"), user + "/x/",
                              "the destination folder does not exist"));
    EXPECT_TRUE(
        errorBoxNames(transfer.exportTo(Database::Con, tooLong), tooLong, "the name is too long"));
    for (const std::string& chosen : {user + "/folder.mdb", user + "/x/", tooLong}) {
        EXPECT_EQ(transfer.importFrom(Database::Con, chosen), std::nullopt);
        EXPECT_EQ(lastNotice(), "MsgBox [<none>] 64 \"" + missingImport + "\"");
        EXPECT_EQ(transfer.remove(chosen), std::nullopt);
        EXPECT_EQ(lastNotice(), "MsgBox [<none>] 64 \"" + missingDelete + "\"");
    }
    EXPECT_EQ(snapshot(user), before);
    EXPECT_EQ(snapshot(app), appBefore);

    // The file layer refuses a folder in every role.
    const auto files = makeHostFileSystem([&] { return app; });
    EXPECT_FALSE(
        copyFile(*files, chosenPath(user + "/folder.mdb"), chosenPath(user + "/copy.mdb")).ok());
    EXPECT_FALSE(
        files->MoveFile(chosenPath(user + "/folder.mdb"), chosenPath(user + "/moved.mdb")).ok());
    EXPECT_FALSE(files->DeleteFile(chosenPath(user + "/folder.mdb"), false).ok());
    EXPECT_FALSE(files->DeleteFile(chosenPath(user + "/folder.mdb"), true).ok());
    EXPECT_EQ(snapshot(user), before);
    std::cout << "a folder, a path through a file and a 256-byte name: 3 exports refused, 3 "
                 "imports and 3 deletes told the file is missing, 4 file-layer calls refused"
              << std::endl;
}

TEST_F(HostileNames, NamesThatAreNotUtf8PassThroughTheFileLayer)
{
    const auto files = makeHostFileSystem([&] { return app; });
    const std::vector<std::string> names = {"caf\xe9.mdb", "\xff\xfe.mdb", "half \xe6\x97.mdb",
                                            "\xc0\xaf overlong slash.mdb"};
    writeFile(user + "/source", "content");
    for (const std::string& name : names) {
        SCOPED_TRACE(::testing::PrintToString(name));
        const std::string path = user + "/" + name;
        const FilePath chosen = chosenPath(path), moved = chosenPath(user + "/moved " + name);
        EXPECT_FALSE(files->FileExists(chosen).value());
        ASSERT_TRUE(copyFile(*files, chosenPath(user + "/source"), chosen).ok());
        EXPECT_TRUE(files->FileExists(chosen).value());
        EXPECT_EQ(readFile(path), "content");
        ASSERT_TRUE(copyFile(*files, chosenPath(user + "/a.mdb"), chosen).ok());
        EXPECT_EQ(readFile(path), "decoy a.mdb");
        ASSERT_TRUE(copyFile(*files, chosen, chosenPath(user + "/copy back")).ok());
        EXPECT_EQ(readFile(user + "/copy back"), "decoy a.mdb");
        ASSERT_TRUE(files->MoveFile(chosen, moved).ok());
        EXPECT_FALSE(files->MoveFile(chosenPath(user + "/source"), moved).ok())
            << "a move replaced a file";
        ASSERT_TRUE(files->DeleteFile(moved, false).ok());
        ASSERT_TRUE(files->DeleteFile(chosenPath(user + "/copy back"), false).ok());
        EXPECT_EQ(namesIn(user).size(), 6u) << "a stray file is left";
    }
    std::cout << names.size() << " names that are not UTF-8: 7 file-layer calls each" << std::endl;
}

TEST_F(HostileNames, AnApplicationFolderWithAHostileNameWorksThroughout)
{
    const std::string folder = root / " -[*?] Fünf \xff back\\slash ";
    std::filesystem::create_directory(folder);
    writeFile(folder + "/cvmdb1.bin", "template CON");
    writeFile(folder + "/cvmdb2.bin", "template SPM");
    writeFile(folder + "/MARLOcon.mdb", "live CON");
    writeFile(folder + "/MARLOspm.mdb", "live SPM");
    writeFile(folder + "/MARLOmdb.bak", "CON 1");
    writeFile(folder + "/MARLOspm.bak", "SPM 1");

    FakePlatform platform(folder);
    ResetSequence(platform, platform).run();
    EXPECT_EQ(platform.endedWith, 0);
    EXPECT_EQ(readFile(folder + "/MARLOcon.mdb"), "template CON");
    EXPECT_EQ(readFile(folder + "/MARLOspm.mdb"), "template SPM");
    EXPECT_EQ(readFile(folder + "/MARLOmdb.bak"), "live CON");
    EXPECT_EQ(readFile(folder + "/MARLOspm.ba2"), "SPM 1");
    EXPECT_EQ(namesIn(folder).size(), 8u);

    TransferOnDisk inFolder(folder);
    EXPECT_EQ(inFolder.exportTo(Database::Spm, user + "/spm.mdb"), std::nullopt);
    EXPECT_EQ(readFile(user + "/spm.mdb"), "template SPM");
    EXPECT_EQ(inFolder.importFrom(Database::Con, folder + "/MARLOmdb.bak"), std::nullopt);
    EXPECT_EQ(readFile(folder + "/MARLOcon.mdb"), "live CON");
    EXPECT_EQ(readFile(folder + "/MARLOmdb.bak"), "template CON");
    EXPECT_EQ(inFolder.remove(folder + "/MARLOspm.ba2"), std::nullopt);
    EXPECT_EQ(namesIn(folder).size(), 8u);
    std::cout << "an application folder named with blanks, a leading dash, pattern characters, "
                 "non-ASCII, a byte that is not UTF-8 and a backslash: a reset, an export, an "
                 "import and a delete"
              << std::endl;
}
