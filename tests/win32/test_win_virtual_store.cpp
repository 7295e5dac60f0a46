// Under a prefix with UAC on (EnableLUA = 1): an old 32-bit main program
// without a manifest in Program Files, whose databases Windows keeps in the
// VirtualStore, and stale ones installed. The programs' commands, over the
// host's file layer as the main program sees it, act on the VirtualStore
// files and leave the installed ones untouched.
#include "FakePlatform.h"
#include "ResetSequence.h"
#include "TempFolder.h"
#include "TransferCommands.h"
#include "WinVirtualStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace marlo;
using test::FakeCommonDialog;
using test::FakePlatform;
using test::TempFolder;

namespace {

// "MZ", the PE header's offset at 0x3C, "PE\0\0" and the machine: all the
// decision reads of an image.
std::string imageHeader(std::uint16_t machine)
{
    std::string image = "MZ" + std::string(0x3A, '\0') + "\x40" + std::string(3, '\0');
    return image + std::string("PE\0\0", 4) + char(machine & 0xFF) + char(machine >> 8);
}

struct Layout : ::testing::Test {
    DeskFacts desk = readDeskFacts();
    TempFolder installed{desk.coveredFolders.at(0)}; // Program Files
    std::filesystem::path store =
        std::filesystem::path(*virtualStoreFolder(desk, {true, "", {}}, installed.str()));
    TempFolder outside;

    Layout()
    {
        installed.write("MARLOCON.EXE", imageHeader(0x14c));
        for (const char* name : {"MARLOcon.mdb", "MARLOspm.mdb", "cvmdb1.bin", "cvmdb2.bin"})
            installed.write(name, std::string("stale ") + name);
        std::filesystem::create_directories(store);
        storeWrite("MARLOcon.mdb", "CON");
        storeWrite("MARLOspm.mdb", "SPM");
    }
    ~Layout() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(store, ignored);
    }
    void storeWrite(const std::string& name, const std::string& content)
    {
        std::ofstream(store / name, std::ios::binary) << content;
    }
    std::string storeRead(const std::string& name)
    {
        std::ifstream file(store / name, std::ios::binary);
        return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<none>";
    }
    std::unique_ptr<FileSystem> view()
    {
        const std::string folder = installed.str();
        return filesAsMainProgramSees(makeHostFileSystem([folder] { return folder; }));
    }
    void installedUntouched()
    {
        EXPECT_EQ(installed.names(),
                  (std::set<std::string>{"MARLOCON.EXE", "MARLOcon.mdb", "MARLOspm.mdb",
                                         "cvmdb1.bin", "cvmdb2.bin"}));
        for (const char* name : {"MARLOcon.mdb", "MARLOspm.mdb"})
            EXPECT_EQ(installed.read(name), std::string("stale ") + name);
    }
};

TEST_F(Layout, TheDeskAndTheProgramAreReadAsWindowsWeighsThem)
{
    EXPECT_TRUE(deskVirtualises(desk)) << "the prefix must have EnableLUA = 1";
    struct Row {
        const char* what;
        std::uint16_t machine;
        const char* external; // MARLOCON.EXE.manifest, or none
        bool virtualised;
    } rows[] = {
        {"32-bit without a manifest", 0x14c, nullptr, true},
        {"64-bit", 0x8664, nullptr, false},
        {"external manifest with a level", 0x14c, "<requestedExecutionLevel level='x'/>", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        installed.write("MARLOCON.EXE", imageHeader(row.machine));
        std::error_code none;
        std::filesystem::remove(installed / "MARLOCON.EXE.manifest", none);
        if (row.external)
            installed.write("MARLOCON.EXE.manifest", row.external);
        const auto files = view();
        EXPECT_EQ(files->ChooserFolder(installed.str()),
                  row.virtualised ? store.string() : installed.str());
    }
}

TEST_F(Layout, ExportImportAndDeleteWorkOnTheStoreFiles)
{
    const auto files = view();
    FakePlatform windows;
    FakeCommonDialog chooser(windows);
    TransferCommands commands({*files, windows}, chooser);
    const std::string exported = outside.str() + "\\export.mdb";
    outside.write("import.mdb", "imported");

    chooser.answers = {exported, outside.str() + "\\import.mdb", store.string() + "\\MARLOspm.bak",
                       store.string() + "\\MARLOcon.mdb"};
    windows.msgBoxAnswers = {IDYES, IDYES, IDYES};
    commands.exportDatabase(Database::Con);
    commands.importDatabase(Database::Spm);
    commands.deleteFile(); // the backup the import made: only in the store
    commands.deleteFile(); // the live database: the installed one would show again

    // The chooser opens where the main program's own files are.
    EXPECT_NE(std::find(windows.calls.begin(), windows.calls.end(), "InitDir = " + store.string()),
              windows.calls.end());
    EXPECT_EQ(outside.read("export.mdb"), "CON");
    EXPECT_EQ(storeRead("MARLOspm.mdb"), "imported");
    EXPECT_EQ(storeRead("MARLOspm.bak"), "<none>");
    EXPECT_EQ(storeRead("MARLOcon.mdb"), "CON");
    EXPECT_NE(windows.calls.back().find("would then see instead the MARLOCON.MDB"),
              std::string::npos)
        << windows.calls.back();
    installedUntouched();
}

TEST_F(Layout, TheResetRebuildsTheStoreFilesAndCopiesAnInstalledDatabaseAsItsBackup)
{
    storeWrite("MARLOmdb.bak", "CON 1");
    std::filesystem::remove(store / "MARLOspm.mdb"); // never written: only installed
    const auto files = view();
    FakePlatform windows;
    ResetSequence reset({*files, windows}, windows);
    reset.run();

    EXPECT_EQ(storeRead("MARLOcon.mdb"), "stale cvmdb1.bin");
    EXPECT_EQ(storeRead("MARLOspm.mdb"), "stale cvmdb2.bin");
    EXPECT_EQ(storeRead("MARLOmdb.bak"), "CON");
    EXPECT_EQ(storeRead("MARLOmdb.ba2"), "CON 1");
    EXPECT_EQ(storeRead("MARLOspm.bak"), "stale MARLOspm.mdb");
    EXPECT_EQ(windows.endedWith, 0);
    installedUntouched();
}

} // namespace
