#include "FakePlatform.h"
#include "FamilyChange.h"
#include "VirtualStore.h"
#include "VirtualStoreFiles.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace marlo;
using marlo::test::FakePlatform;

namespace {

const std::string Local = "C:\\Users\\ann\\AppData\\Local";
const std::string Installed = "C:\\Program Files (x86)\\Marlo";
const std::string Store = Local + "\\VirtualStore\\Program Files (x86)\\Marlo";
const char* const X86 = "\\Program Files (x86)\\Marlo";

// Whether and where Windows virtualises the main program.
struct Decision {
    const char* what;
    const char* store;            // after "VirtualStore"; null: not virtualised
    const char* folder = nullptr; // null: the installed folder
    const char* manifest = "";
    const char* layers = ""; // HKLM's; HKCU's is empty
    bool i386 = true;
    std::optional<unsigned long> lua = 1, virtualization = {};
};

const char* const asInvoker = "<trustInfo><security><requestedPrivileges><requestedExecutionLevel "
                              "level=\"asInvoker\"/></requestedPrivileges></security></trustInfo>";
const Decision decisions[] = {
    {"old 32-bit program in Program Files (x86)", X86},
    {"folder written otherwise", "\\program files (x86)\\Marlo", "c:/program files (x86)/Marlo/"},
    {"ProgramData", "\\ProgramData\\Marlo", "C:\\ProgramData\\Marlo"},
    {"Windows folder", "\\Windows\\Marlo", "C:\\Windows\\Marlo"},
    {"a folder named like Program Files", nullptr, "C:\\Program Files Old\\Marlo"},
    {"a folder virtualisation does not cover", nullptr, "D:\\Marlo"},
    {"manifest asks asInvoker", nullptr, nullptr, asInvoker},
    {"element with a namespace prefix", nullptr, nullptr,
     "<v3:requestedExecutionLevel level='x'/>"},
    {"element only in a comment", X86, nullptr, "<!-- <requestedExecutionLevel level='x'/> -->"},
    {"manifest without a level", X86, nullptr, "<assembly><dpiAware>true</dpiAware></assembly>"},
    {"set to run as administrator", nullptr, nullptr, "", "~ runasadmin WINXPSP3"},
    {"other compatibility layers", X86, nullptr, "", "~ WINXPSP3 HIGHDPIAWARE"},
    {"64-bit program", nullptr, nullptr, "", "", false},
    {"UAC setting missing, as under Wine", nullptr, nullptr, "", "", true, std::nullopt},
    {"UAC off", nullptr, nullptr, "", "", true, 0},
    {"virtualisation off by policy", nullptr, nullptr, "", "", true, 1, 0},
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
        const std::string folder = d.folder ? d.folder : Installed;
        const auto store = virtualStoreFolder(desk, {d.i386, d.manifest, {"", d.layers}}, folder);
        EXPECT_EQ(store,
                  d.store ? std::optional(Local + "\\VirtualStore" + d.store) : std::nullopt);
    }
}

// The merged view over the in-memory fake, whose application folder is the
// installed one.
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
        const char *installed, *stored, *read; // "<none>": nothing to read
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
        EXPECT_EQ(exists.ok() && exists.value(), std::string(row.read) != "<none>");
        (void)copyFile(v.files, v.member("MARLOcon.mdb"), FilePath::chosen("E:\\o.mdb", "o.mdb"));
        EXPECT_EQ(v.content("E:\\o.mdb"), row.read);
    }
}

TEST(VirtualStoreFiles, AChangeLandsInTheStoreAndTheInstalledFileStays)
{
    View v;
    v.installed("MARLOcon.mdb", "old");
    v.p.addFile("E:\\in.mdb", "in");
    ASSERT_TRUE(copyFile(v.files, FilePath::chosen("E:\\in.mdb", "in"), v.member("MARLOcon.mdb")));
    EXPECT_EQ(v.content(Store + "\\MARLOcon.mdb"), "in");
    EXPECT_EQ(v.content(Installed + "\\MARLOcon.mdb"), "old");
    EXPECT_TRUE(v.folders.count(Store));
    // The installed name, written otherwise, is the live database itself.
    const FilePath installedChoice = FilePath::chosen(Installed + "\\marlocon.MDB", "marlocon.MDB");
    EXPECT_FALSE(copyFile(v.files, v.member("MARLOcon.mdb"), installedChoice));
    // A backup of a file only installed is a copy, never a second name of it.
    v.installed("MARLOspm.mdb", "spm");
    ASSERT_TRUE(v.files.KeepBackup(v.member("MARLOspm.mdb"), v.member("MARLOspm.bak"), {}));
    EXPECT_EQ(v.content(Store + "\\MARLOspm.bak"), "spm");
    for (const std::string& call : v.p.calls)
        EXPECT_FALSE(call.starts_with("KeepBackup " + Installed)) << call;
}

TEST(VirtualStoreFiles, ANameTheInstalledFolderHoldsCannotGo)
{
    const std::string only = "MARLOmdb.ba2 is only in the installed folder " + Installed +
                             ", which Windows keeps unchanged for MARLOCON.EXE";
    const std::string hidden = "MARLOCON.EXE would then see instead the MARLOmdb.ba2 that Windows "
                               "keeps unchanged in the installed folder " +
                               Installed;
    const FilePath ba3 = FilePath::member(Installed, "MARLOmdb.ba3");
    using Step = std::function<Status(VirtualStoreFiles&, const FilePath&)>;
    const Step remove = [](auto& f, auto& p) { return f.DeleteFile(p, false); };
    const Step move = [&](auto& f, auto& p) { return f.MoveFile(p, ba3); };
    const Step aside = [&](auto& f, auto& p) { return f.SetAside(p, ba3); };
    struct Row {
        const char* what;
        bool installed, stored;
        const Step& step;
        std::string refusal; // empty: done
    } rows[] = {
        {"delete, only installed", true, false, remove, only},
        {"delete, hiding the installed", true, true, remove, hidden},
        {"delete, only in the store", false, true, remove, ""},
        {"move, only installed", true, false, move, only},
        {"set aside, hiding the installed", true, true, aside, hidden},
        {"move, only in the store", false, true, move, ""},
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
        EXPECT_EQ(done.ok() ? "" : done.error().description, row.refusal);
        if (row.refusal.empty())
            EXPECT_FALSE(v.p.has(Store + "\\MARLOmdb.ba2"));
        else
            EXPECT_EQ(v.p.files.size(), before.size());
    }
    // Nor may a new name take one the installed folder holds: it would hide it.
    View v;
    v.installed("MARLOmdb.ba3", "installed");
    v.stored("MARLOmdb.ba2", "stored");
    EXPECT_FALSE(v.files.MoveFile(v.member("MARLOmdb.ba2"), ba3));
    EXPECT_EQ(v.content(Store + "\\MARLOmdb.ba2"), "stored");
}

// Refused before its first change, where a generation could not move.
TEST(VirtualStoreFiles, AFamilyWithAnInstalledGenerationIsLeftAsItWas)
{
    View v;
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

} // namespace
