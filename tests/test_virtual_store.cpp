#include "FakePlatform.h"
#include "FamilyChange.h"
#include "TransferCommands.h"
#include "VirtualStore.h"
#include "VirtualStoreFiles.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace marlo;
using marlo::test::FakeCommonDialog;
using marlo::test::FakePlatform;

namespace {

// Whether and where Windows virtualises the main program.
struct Decision {
    const char* what;
    std::optional<unsigned long> lua = 1, virtualization;
    bool i386 = true;
    std::string manifest;
    std::string layers; // HKLM's; HKCU's is empty
    std::string folder = "C:\\Program Files (x86)\\Marlo";
    std::optional<std::string> store; // none: not virtualised
};

const std::string Local = "C:\\Users\\ann\\AppData\\Local";
const std::string X86Store = Local + "\\VirtualStore\\Program Files (x86)\\Marlo";
const std::string AsInvoker = "<assembly><trustInfo><security><requestedPrivileges>"
                              "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"
                              "</requestedPrivileges></security></trustInfo></assembly>";

const Decision decisions[] = {
    {"old 32-bit program in Program Files (x86)",
     1,
     {},
     true,
     "",
     "",
     "C:\\Program Files (x86)\\Marlo",
     X86Store},
    {"folder written otherwise",
     1,
     {},
     true,
     "",
     "",
     "c:/program files (x86)/Marlo/",
     Local + "\\VirtualStore\\program files (x86)\\Marlo"},
    {"ProgramData",
     1,
     {},
     true,
     "",
     "",
     "C:\\ProgramData\\Marlo",
     Local + "\\VirtualStore\\ProgramData\\Marlo"},
    {"Windows folder",
     1,
     {},
     true,
     "",
     "",
     "C:\\Windows\\Marlo",
     Local + "\\VirtualStore\\Windows\\Marlo"},
    {"UAC setting missing, as under Wine",
     {},
     {},
     true,
     "",
     "",
     "C:\\Program Files (x86)\\Marlo",
     {}},
    {"UAC off", 0, {}, true, "", "", "C:\\Program Files (x86)\\Marlo", {}},
    {"virtualisation off by policy", 1, 0, true, "", "", "C:\\Program Files (x86)\\Marlo", {}},
    {"64-bit program", 1, {}, false, "", "", "C:\\Program Files (x86)\\Marlo", {}},
    {"manifest asks asInvoker", 1, {}, true, AsInvoker, "", "C:\\Program Files (x86)\\Marlo", {}},
    {"element with a namespace prefix",
     1,
     {},
     true,
     "<v3:requestedExecutionLevel level='requireAdministrator'/>",
     "",
     "C:\\Program Files (x86)\\Marlo",
     {}},
    {"element only in a comment",
     1,
     {},
     true,
     "<!-- <requestedExecutionLevel level='asInvoker'/> -->",
     "",
     "C:\\Program Files (x86)\\Marlo",
     X86Store},
    {"manifest without a level",
     1,
     {},
     true,
     "<assembly><dpiAware>true</dpiAware></assembly>",
     "",
     "C:\\Program Files (x86)\\Marlo",
     X86Store},
    {"set to run as administrator",
     1,
     {},
     true,
     "",
     "~ runasadmin WINXPSP3",
     "C:\\Program Files (x86)\\Marlo",
     {}},
    {"other compatibility layers",
     1,
     {},
     true,
     "",
     "~ WINXPSP3 HIGHDPIAWARE",
     "C:\\Program Files (x86)\\Marlo",
     X86Store},
    {"a folder named like Program Files", 1, {}, true, "", "", "C:\\Program Files Old\\Marlo", {}},
    {"a folder virtualisation does not cover", 1, {}, true, "", "", "D:\\Marlo", {}},
};

TEST(VirtualStoreDecision, WhereWindowsShowsTheMainProgramOtherFiles)
{
    for (const Decision& d : decisions) {
        SCOPED_TRACE(d.what);
        const DeskFacts desk{d.lua,
                             d.virtualization,
                             {"C:\\Program Files", "C:\\Program Files (x86)", "C:\\Windows\\",
                              "C:\\ProgramData", ""},
                             Local};
        const ProgramFacts program{d.i386, d.manifest, {"", d.layers}};
        EXPECT_EQ(virtualStoreFolder(desk, program, d.folder), d.store);
    }
}

const std::string Installed = "C:\\Program Files (x86)\\Marlo";
const std::string Store = X86Store;

// The merged view over the in-memory fake, the fake's application folder
// being the installed one.
struct View {
    FakePlatform p;
    std::set<std::string> folders;
    VirtualStoreFiles files{p,
                            Installed,
                            Store,
                            {[this](const std::string& f) { return folders.count(f) != 0; },
                             [this](const std::string& f) {
                                 folders.insert(f);
                                 return Status();
                             }}};
    FakeCommonDialog chooser{p};
    TransferCommands commands{{files, p}, chooser};

    View() { p.appFolder = Installed; }
    void installed(const std::string& name, std::string content)
    {
        p.addFile(Installed + "\\" + name, std::move(content));
    }
    void stored(const std::string& name, std::string content)
    {
        folders.insert(Store);
        p.addFile(Store + "\\" + name, std::move(content));
    }
    FilePath member(const std::string& name) { return FilePath::member(Installed, name); }
    std::string content(const std::string& path) const
    {
        return p.has(path) ? p.files.at(path).content : "<none>";
    }
};

TEST(VirtualStoreFiles, AReadTakesTheStoreCopyWhereThereIsOne)
{
    struct Row {
        const char* installed;
        const char* stored;
        const char* read; // what an export writes; "<none>": nothing to read
    } rows[] = {{"old", "new", "new"},
                {"old", nullptr, "old"},
                {nullptr, "new", "new"},
                {nullptr, nullptr, "<none>"}};
    for (const Row& row : rows) {
        View v;
        if (row.installed)
            v.installed("MARLOcon.mdb", row.installed);
        if (row.stored)
            v.stored("MARLOcon.mdb", row.stored);
        SCOPED_TRACE(row.read);
        const Result<bool> exists = v.files.FileExists(v.member("MARLOcon.mdb"));
        ASSERT_TRUE(exists.ok());
        EXPECT_EQ(exists.value(), std::string(row.read) != "<none>");
        (void)copyFile(v.files, v.member("MARLOcon.mdb"),
                       FilePath::chosen("E:\\out.mdb", "out.mdb"));
        EXPECT_EQ(v.content("E:\\out.mdb"), row.read);
    }
}

// A change lands in the store, made where missing; the installed file stays.
TEST(VirtualStoreFiles, AChangeLandsInTheStoreAndTheInstalledFileStays)
{
    View v;
    v.installed("MARLOcon.mdb", "old");
    const FilePath source = FilePath::chosen("E:\\in.mdb", "in.mdb");
    EXPECT_FALSE(copyFile(v.files, source, v.member("MARLOcon.mdb"))); // no source yet
    EXPECT_EQ(v.content(Store + "\\MARLOcon.mdb"), "<none>");
    v.p.addFile("E:\\in.mdb", "in");
    ASSERT_TRUE(copyFile(v.files, source, v.member("MARLOcon.mdb")));
    EXPECT_EQ(v.content(Store + "\\MARLOcon.mdb"), "in");
    EXPECT_EQ(v.content(Installed + "\\MARLOcon.mdb"), "old");
    EXPECT_TRUE(v.folders.count(Store));
    // The installed file chosen as the export's target is the live database
    // itself: refused as a copy onto itself.
    const FilePath installedChoice = FilePath::chosen(Installed + "\\marlocon.MDB", "marlocon.MDB");
    EXPECT_FALSE(copyFile(v.files, v.member("MARLOcon.mdb"), installedChoice));
}

// A backup of a file only installed is a copy in the store, never a second
// name of the installed file.
TEST(VirtualStoreFiles, ABackupOfAnInstalledFileIsACopy)
{
    View v;
    v.installed("MARLOcon.mdb", "old");
    ASSERT_TRUE(v.files.KeepBackup(v.member("MARLOcon.mdb"), v.member("MARLOmdb.bak"), {}));
    EXPECT_EQ(v.content(Store + "\\MARLOmdb.bak"), "old");
    for (const std::string& call : v.p.calls)
        EXPECT_FALSE(call.starts_with("KeepBackup")) << call;
}

TEST(VirtualStoreFiles, ANameTheInstalledFolderHoldsCannotGo)
{
    const std::string only = "MARLOmdb.ba2 is only in the installed folder " + Installed +
                             ", which Windows keeps unchanged for MARLOCON.EXE";
    const std::string hidden = "MARLOCON.EXE would then see instead the MARLOmdb.ba2 that Windows "
                               "keeps unchanged in the installed folder " +
                               Installed;
    struct Row {
        const char* what;
        bool installed, stored;
        std::function<Status(VirtualStoreFiles&, const FilePath&)> step;
        std::string refusal; // empty: done
    } rows[] = {
        {"delete, only installed", true, false,
         [](auto& f, auto& p) { return f.DeleteFile(p, false); }, only},
        {"delete, hiding the installed", true, true,
         [](auto& f, auto& p) { return f.DeleteFile(p, false); }, hidden},
        {"delete, only in the store", false, true,
         [](auto& f, auto& p) { return f.DeleteFile(p, false); }, ""},
        {"move, only installed", true, false,
         [](auto& f, auto& p) {
             return f.MoveFile(p, FilePath::member(Installed, "MARLOmdb.ba3"));
         },
         only},
        {"set aside, hiding the installed", true, true,
         [](auto& f, auto& p) { return f.SetAside(p, FilePath::member(Installed, ".aside")); },
         hidden},
        {"move, only in the store", false, true,
         [](auto& f, auto& p) {
             return f.MoveFile(p, FilePath::member(Installed, "MARLOmdb.ba3"));
         },
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        View v;
        if (row.installed)
            v.installed("MARLOmdb.ba2", "installed");
        if (row.stored)
            v.stored("MARLOmdb.ba2", "stored");
        const auto before = v.p.files;
        const Status done = row.step(v.files, v.member("MARLOmdb.ba2"));
        if (row.refusal.empty()) {
            EXPECT_TRUE(done.ok());
            EXPECT_FALSE(v.p.has(Store + "\\MARLOmdb.ba2"));
            continue;
        }
        ASSERT_FALSE(done.ok());
        EXPECT_EQ(done.error().description, row.refusal);
        EXPECT_EQ(v.p.files.size(), before.size());
        for (const auto& [path, file] : before)
            EXPECT_EQ(v.content(path), file.content) << path;
    }
    // Nor may a new name take one the installed folder holds: it would hide it.
    View v;
    v.installed("MARLOmdb.ba3", "installed");
    v.stored("MARLOmdb.ba2", "stored");
    EXPECT_FALSE(v.files.MoveFile(v.member("MARLOmdb.ba2"), v.member("MARLOmdb.ba3")));
    EXPECT_EQ(v.content(Store + "\\MARLOmdb.ba2"), "stored");
}

// A change of the family whose generation cannot move is refused before
// its first change, with the reason.
TEST(VirtualStoreFiles, AFamilyWithAnInstalledGenerationIsRefusedBeforeAnyChange)
{
    View v;
    v.installed("MARLOcon.mdb", "installed");
    v.stored("MARLOcon.mdb", "live");
    v.stored("MARLOmdb.bak", "bak");
    v.installed("MARLOmdb.ba2", "old ba2");
    v.installed("cvmdb1.bin", "empty");
    const auto before = v.p.files;
    FamilyChange change(v.files, Installed, Database::Con);
    const Status prepared = change.prepare(
        [&](const FilePath& live) { return v.files.StageCopy(v.member("cvmdb1.bin"), live, {}); });
    ASSERT_FALSE(prepared.ok());
    EXPECT_EQ(prepared.error().description,
              "the backup MARLOmdb.ba2 cannot move up: MARLOmdb.ba2 is only in the installed "
              "folder " +
                  Installed + ", which Windows keeps unchanged for MARLOCON.EXE");
    EXPECT_EQ(v.p.files.size(), before.size());
}

// The main program's stale installed database is never read or changed once
// it has a copy of its own in the store.
TEST(VirtualStoreFiles, AnImportReplacesTheStoreCopyAndKeepsItsBackupThere)
{
    View v;
    v.installed("MARLOcon.mdb", "stale");
    v.stored("MARLOcon.mdb", "live");
    v.p.addFile("E:\\in.mdb", "in");
    v.chooser.answers.push_back("E:\\in.mdb");
    v.p.msgBoxAnswers.push_back(IDYES);
    v.commands.importDatabase(Database::Con);
    EXPECT_EQ(v.content(Store + "\\MARLOcon.mdb"), "in");
    EXPECT_EQ(v.content(Store + "\\MARLOmdb.bak"), "live");
    EXPECT_EQ(v.content(Installed + "\\MARLOcon.mdb"), "stale");
    EXPECT_FALSE(v.p.has(Installed + "\\MARLOmdb.bak"));
}

TEST(VirtualStoreFiles, TheChooserOpensInTheStoreWhereItExists)
{
    for (bool storeThere : {false, true}) {
        View v;
        if (storeThere)
            v.folders.insert(Store);
        v.chooser.answers.push_back(std::nullopt);
        v.commands.deleteFile();
        const std::string expected = "InitDir = " + (storeThere ? Store : Installed);
        EXPECT_NE(std::find(v.p.calls.begin(), v.p.calls.end(), expected), v.p.calls.end())
            << expected;
    }
}

// Deleting the store's live database would give the main program back the
// installed one: the delete command says so and changes nothing.
TEST(VirtualStoreFiles, TheDeleteCommandSaysWhyItLeavesAHidingCopy)
{
    View v;
    v.installed("MARLOcon.mdb", "stale");
    v.stored("MARLOcon.mdb", "live");
    v.chooser.answers.push_back(Store + "\\MARLOcon.mdb");
    v.p.msgBoxAnswers.push_back(IDYES);
    v.commands.deleteFile();
    EXPECT_EQ(v.content(Store + "\\MARLOcon.mdb"), "live");
    ASSERT_FALSE(v.p.calls.empty());
    EXPECT_NE(v.p.calls.back().find("Reason: MARLOCON.EXE would then see instead the MARLOCON.MDB "
                                    "that Windows keeps unchanged in the installed folder " +
                                    Installed + "."),
              std::string::npos)
        << v.p.calls.back();
}

} // namespace
