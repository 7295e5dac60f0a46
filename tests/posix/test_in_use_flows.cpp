// A database that another program holds open is in use: import over it,
// export onto it, delete it and the reset all fail cleanly and change
// nothing of it; the error box names the program. Once the program has let
// go, the same commands go through. Reading is never blocked.
#include "CrashCheck.h"
#include "ErrorBoxExpect.h"
#include "FakePlatform.h"
#include "FileLayerExpect.h"
#include "FileSystem.h"
#include "FolderSnapshot.h"
#include "HoldingProcess.h"
#include "ResetSequence.h"
#include "TempFolder.h"
#include "TransferCommands.h"
#include "TransferOnDisk.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <future>
#include <map>
#include <optional>

using namespace marlo;
using namespace marlo::test;

namespace {

std::string generation(const std::string& stem, int g)
{
    return stem + (g == 1 ? ".bak" : ".ba" + std::to_string(g));
}

std::string inUseBy(const std::string& program)
{
    return "the file is in use by another program (" + program + ")";
}

ino_t inodeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_ino;
}

// What a reset did: how it ended and what its closing message said.
struct ResetOutcome {
    std::optional<int> endedWith;
    std::string closing;
};

// A full application folder (templates, both live databases, five
// generations of each) and a folder of the user's with a file to import.
class InUseFlows : public ::testing::Test {
protected:
    TempFolder root;
    const std::string app = root / "app";
    const std::string user = root / "user";
    std::map<std::string, std::string> original;
    TransferOnDisk transfer{app};

    void SetUp() override
    {
        std::filesystem::create_directory(app);
        std::filesystem::create_directory(user);
        original = {{"cvmdb1.bin", "template CON"},
                    {"cvmdb2.bin", "template SPM"},
                    {"MARLOcon.mdb", "live CON"},
                    {"MARLOspm.mdb", "live SPM"}};
        for (int g = 1; g <= 5; ++g) {
            original[generation("MARLOmdb", g)] = "CON " + std::to_string(g);
            original[generation("MARLOspm", g)] = "SPM " + std::to_string(g);
        }
        for (const auto& [name, content] : original)
            std::ofstream(app + "/" + name, std::ios::binary) << content;
        std::ofstream(user + "/import.mdb", std::ios::binary) << "imported";
    }

    std::string in(const std::string& name) const { return app + "/" + name; }
    std::string read(const std::string& name) const { return root.read("app/" + name); }

    ResetOutcome reset() const
    {
        FakePlatform platform(app);
        ResetSequence(platform, platform).run();
        ResetOutcome outcome{platform.endedWith, {}};
        for (const std::string& call : platform.calls)
            if (call.starts_with("MsgBox "))
                outcome.closing = call;
        return outcome;
    }

    // Every content but the dropped oldest generations' is still in the
    // folder under a member's name.
    void expectNothingLost() const
    {
        std::multiset<std::string> found;
        for (const std::string& name : namesIn(app))
            if (isMemberName(name))
                found.insert(read(name));
        for (const auto& [name, content] : original) {
            if (name != "MARLOmdb.ba5" && name != "MARLOspm.ba5") {
                EXPECT_TRUE(found.count(content)) << content << " of " << name << " was lost";
            }
        }
    }

    // Every file of a database's family (live file and generations) holds
    // what it held at the start: the reset left the family alone.
    void expectFamilyAsItWas(const std::string& live, const std::string& stem) const
    {
        for (const auto& [name, content] : original)
            if (name == live || name.starts_with(stem + ".ba")) {
                EXPECT_EQ(read(name), content) << name;
            }
    }
};

const std::string busy(failureWords(FileFailure::FolderLocked));

// Whether the drive itself renames without replacing: a no-replace rename,
// or a link that refuses a taken name.
bool renamesWithoutReplacing(const std::string& folder)
{
    const std::string from = folder + "/probe", to = folder + "/probe.moved";
    std::ofstream(from).close();
    const bool safe =
        ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0 ||
        ::link(from.c_str(), to.c_str()) == 0;
    std::filesystem::remove(from);
    std::filesystem::remove(to);
    return safe;
}

using Clock = std::chrono::steady_clock;

const std::string NotResetCon = " MARLOCON.MDB was not reset... The file is in use by another "
                                "program (MARLOCON.EXE)! Its files were left as they were! ";
const std::string NotResetSpm = " MARLOSPM.MDB was not reset... The file is in use by another "
                                "program (dbviewer)! Its files were left as they were! ";

} // namespace

TEST_F(InUseFlows, ALiveDatabaseHeldOpenIsNotImportedOverExportedOntoDeletedOrReset)
{
    HoldingProcess program("MARLOCON.EXE", in("MARLOcon.mdb"), O_RDWR);
    // A copy killed earlier left its temporary file, which the user imports.
    const std::string leftover = in(".MARLOcon.mdb.~marlo-Xy0123.tmp");
    std::ofstream(leftover, std::ios::binary) << "rescued";
    const Snapshot before = snapshot(root.str());
    const ino_t held = inodeOf(in("MARLOcon.mdb"));

    EXPECT_TRUE(errorBoxNames(transfer.importFrom(Database::Con, user + "/import.mdb"),
                              user + "/import.mdb", inUseBy("MARLOCON.EXE")));
    EXPECT_TRUE(errorBoxNames(transfer.importFrom(Database::Con, leftover), leftover,
                              inUseBy("MARLOCON.EXE")));
    EXPECT_TRUE(errorBoxNames(transfer.exportTo(Database::Spm, in("MARLOcon.mdb")),
                              in("MARLOcon.mdb"), inUseBy("MARLOCON.EXE")));
    EXPECT_TRUE(errorBoxNames(transfer.remove(in("MARLOcon.mdb")), in("MARLOcon.mdb"),
                              inUseBy("MARLOCON.EXE")));
    EXPECT_EQ(snapshot(root.str()), before);

    // The reset keeps the held file and says so; the other database is reset.
    const ResetOutcome outcome = reset();
    EXPECT_EQ(outcome.endedWith, 1);
    EXPECT_NE(outcome.closing.find(NotResetCon), std::string::npos) << outcome.closing;
    EXPECT_EQ(outcome.closing.find(NotResetSpm), std::string::npos) << outcome.closing;
    EXPECT_EQ(inodeOf(in("MARLOcon.mdb")), held);
    EXPECT_EQ(read("MARLOcon.mdb"), "live CON");
    EXPECT_EQ(read("MARLOspm.mdb"), "template SPM");
    EXPECT_EQ(read("MARLOspm.bak"), "live SPM");
    expectFamilyAsItWas("MARLOcon.mdb", "MARLOmdb");
    expectNothingLost();

    // Let go, the same commands go through, and a reset completes.
    program.letGo();
    EXPECT_EQ(reset().endedWith, 0);
    EXPECT_EQ(read("MARLOcon.mdb"), "template CON");
    EXPECT_EQ(read("MARLOmdb.bak"), "live CON");
    EXPECT_EQ(transfer.importFrom(Database::Con, user + "/import.mdb"), std::nullopt);
    EXPECT_EQ(read("MARLOcon.mdb"), "imported");
    EXPECT_EQ(transfer.exportTo(Database::Spm, in("MARLOcon.mdb")), std::nullopt);
    EXPECT_EQ(read("MARLOcon.mdb"), "template SPM");
    EXPECT_EQ(transfer.remove(in("MARLOcon.mdb")), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(in("MARLOcon.mdb")));
    std::cout << "live CON held open: 1 import, 1 export onto it, 1 delete refused with the "
                 "program named, 1 reset left it in place; after it let go all 4 went through"
              << std::endl;
}

// The main program started while a long import copies: the import is
// refused right before its first change, and no generation moved, none was
// dropped, and the newest backup is no second name of the held database.
TEST_F(InUseFlows, AMainProgramStartedDuringTheImportRefusesItWithNothingChanged)
{
    struct StartedMeanwhile : CopyRunner {
        explicit StartedMeanwhile(std::string live) : live(std::move(live)) {}
        Status run(const NamedCopy& copy) override
        {
            // Started as the copy begins: forked later, it would inherit the
            // copy's own files, which no real program does.
            program.emplace("MARLOCON.EXE", live, O_RDWR);
            return copy.task({});
        }
        std::string live;
        std::optional<HoldingProcess> program;
    };
    const Snapshot before = snapshot(root.str());
    TransferCommands commands{transfer.platform, transfer.chooser,
                              std::make_unique<StartedMeanwhile>(in("MARLOcon.mdb"))};
    transfer.chooser.answers = {user + "/import.mdb"};
    transfer.platform.msgBoxAnswers = {IDYES};
    commands.importDatabase(Database::Con);
    const std::string& box = transfer.platform.calls.back();
    EXPECT_NE(box.find(inUseBy("MARLOCON.EXE")), std::string::npos) << box;
    EXPECT_TRUE(box.ends_with(" \r\n Nothing was changed... \"")) << box;
    EXPECT_EQ(snapshot(root.str()), before);
    EXPECT_NE(inodeOf(in("MARLOmdb.bak")), inodeOf(in("MARLOcon.mdb")));
}

TEST_F(InUseFlows, AGenerationHeldOpenIsNotExportedOntoDeletedOrMovedByTheReset)
{
    HoldingProcess viewer("dbviewer", in("MARLOspm.ba3"), O_RDONLY);
    const Snapshot before = snapshot(root.str());
    const ino_t held = inodeOf(in("MARLOspm.ba3"));

    EXPECT_TRUE(errorBoxNames(transfer.exportTo(Database::Spm, in("MARLOspm.ba3")),
                              in("MARLOspm.ba3"), inUseBy("dbviewer")));
    EXPECT_TRUE(errorBoxNames(transfer.remove(in("MARLOspm.ba3")), in("MARLOspm.ba3"),
                              inUseBy("dbviewer")));
    EXPECT_EQ(snapshot(root.str()), before);
    // Reading it is no use of it: it can be imported.
    EXPECT_EQ(transfer.importFrom(Database::Con, in("MARLOspm.ba3")), std::nullopt);
    EXPECT_EQ(read("MARLOcon.mdb"), "SPM 3");
    EXPECT_EQ(read("MARLOmdb.bak"), "live CON");
    // The import moved the CON generations one up, dropping the oldest.
    for (int g = 5; g > 1; --g)
        original[generation("MARLOmdb", g)] = original[generation("MARLOmdb", g - 1)];
    original["MARLOmdb.bak"] = "live CON";
    original["MARLOcon.mdb"] = "SPM 3";

    // The SPM family is left alone as a whole, so no generation of it is
    // dropped or moved; the CON database is reset.
    const ResetOutcome outcome = reset();
    EXPECT_EQ(outcome.endedWith, 1);
    EXPECT_NE(outcome.closing.find(NotResetSpm), std::string::npos) << outcome.closing;
    EXPECT_EQ(outcome.closing.find(NotResetCon), std::string::npos) << outcome.closing;
    EXPECT_EQ(inodeOf(in("MARLOspm.ba3")), held);
    EXPECT_EQ(read("MARLOspm.ba3"), "SPM 3");
    EXPECT_EQ(read("MARLOspm.mdb"), "live SPM");
    EXPECT_EQ(read("MARLOcon.mdb"), "template CON");
    expectFamilyAsItWas("MARLOspm.mdb", "MARLOspm");
    expectNothingLost();

    viewer.letGo();
    EXPECT_EQ(reset().endedWith, 0);
    EXPECT_EQ(read("MARLOspm.mdb"), "template SPM");
    EXPECT_EQ(transfer.exportTo(Database::Con, in("MARLOspm.ba3")), std::nullopt);
    EXPECT_EQ(read("MARLOspm.ba3"), "template CON");
    EXPECT_EQ(transfer.remove(in("MARLOspm.ba3")), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(in("MARLOspm.ba3")));
    std::cout << "SPM generation 3 held open: 1 export onto it and 1 delete refused with the "
                 "program named, 1 import from it allowed, 1 reset left SPM in place; after it "
                 "let go a reset, the export and the delete went through"
              << std::endl;
}

TEST_F(InUseFlows, AReaderOrWriterOfTheSourceDoesNotBlockAnExport)
{
    int exports = 0;
    for (const int flags : {O_RDONLY, O_RDWR}) {
        HoldingProcess program("MARLOCON.EXE", in("MARLOcon.mdb"), flags);
        const std::string target = user + "/export " + std::to_string(exports) + ".mdb";
        EXPECT_EQ(transfer.exportTo(Database::Con, target), std::nullopt);
        EXPECT_EQ(root.read("user/export " + std::to_string(exports) + ".mdb"), "live CON");
        ++exports;
    }
    std::cout << exports
              << " exports of a live database held open for reading, then for "
                 "writing, went through"
              << std::endl;
}

// FAT and exFAT find the database under every spelling of its path, and
// through FUSE give each spelling a number of its own: the main program
// holding "APP/MARLOCON.MDB" holds the tools' "app/MARLOcon.mdb". Elsewhere
// that path is another file, which leaves the database free.
TEST_F(InUseFlows, TheDatabaseHeldUnderAnotherSpellingIsHeldWhereTheDriveFoldsCase)
{
    const std::string spelledByProgram = root / "APP/MARLOCON.MDB";
    const bool folded = std::filesystem::exists(spelledByProgram);
    if (!folded) {
        std::filesystem::create_directory(root / "APP");
        std::ofstream(spelledByProgram, std::ios::binary) << "another file";
    }
    HoldingProcess program("MARLOCON.EXE", spelledByProgram, O_RDWR);
    const Snapshot before = snapshot(root.str());

    const auto imported = transfer.importFrom(Database::Con, user + "/import.mdb");
    if (folded) {
        EXPECT_TRUE(errorBoxNames(imported, user + "/import.mdb", inUseBy("MARLOCON.EXE")));
        EXPECT_EQ(snapshot(root.str()), before);
    } else {
        EXPECT_EQ(imported, std::nullopt);
    }

    const ResetOutcome outcome = reset();
    if (folded) {
        EXPECT_EQ(outcome.endedWith, 1);
        EXPECT_NE(outcome.closing.find(NotResetCon), std::string::npos) << outcome.closing;
        EXPECT_EQ(read("MARLOspm.mdb"), "template SPM");
        expectFamilyAsItWas("MARLOcon.mdb", "MARLOmdb");
        expectNothingLost();
    } else {
        EXPECT_EQ(outcome.endedWith, 0) << outcome.closing;
        EXPECT_EQ(read("MARLOcon.mdb"), "template CON");
        EXPECT_EQ(root.read("APP/MARLOCON.MDB"), "another file");
    }
}

// Another instance of the tools stopped while it holds a folder's lock: an
// import is refused at once, as another command holds the folder, and a
// move that needs the lock (where the drive can neither rename without
// replacing nor link) gives up within a few seconds; both say why and
// change nothing. Elsewhere the move goes through.
TEST_F(InUseFlows, AnotherInstanceStuckInTheFolderHoldsUpNothingForLong)
{
    const bool movesUnlocked = renamesWithoutReplacing(app);
    std::ofstream(in("notes.txt")) << "notes";
    LockingInstance stuck(app);
    const Snapshot before = snapshot(root.str());

    const auto start = Clock::now();
    auto moved = std::async(std::launch::async, [&] {
        return makeHostFileSystem([&] { return app; })
            ->MoveFile(chosenPath(in("notes.txt")), chosenPath(in("notes.old")));
    });
    const auto imported = transfer.importFrom(Database::Con, user + "/import.mdb");
    const Status move = moved.get();
    const auto took = Clock::now() - start;

    EXPECT_TRUE(errorBoxNames(imported, user + "/import.mdb",
                              std::string(failureWords(FileFailure::FolderHeld))));
    expectFamilyAsItWas("MARLOcon.mdb", "MARLOmdb");
    if (movesUnlocked) {
        EXPECT_TRUE(move.ok()) << move.error().description;
    } else {
        EXPECT_TRUE(failedWith(move, busy));
    }
    if (!movesUnlocked) {
        EXPECT_EQ(snapshot(root.str()), before);
    }
    EXPECT_LT(took, std::chrono::seconds(10));
    std::cout << "with another instance stuck in the folder, the import was refused and the move "
              << (movesUnlocked ? "went through" : "gave up") << " after "
              << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms"
              << std::endl;
}
