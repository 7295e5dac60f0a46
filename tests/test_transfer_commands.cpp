#include "FailureWords.h"
#include "FakePlatform.h"
#include "TransferCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace marlo;
using marlo::test::FakeCommonDialog;
using marlo::test::FakePlatform;
using Lines = std::vector<std::string>;

namespace {

Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The five settings before every showing, in their order, and the showing.
Lines pass(const std::string& folder, const std::string& title, const std::string& show)
{
    return {"CancelError = -1",
            "InitDir = " + folder,
            "DefaultExt = *.mdb",
            "Filter = MS Access DB (*.mdb)|*.mdb|Backup files (*.bak)|*.bak|All files (*.*)|*.*",
            "DialogTitle = " + title,
            show};
}

std::string box(const std::string& title, int style, const std::string& prompt)
{
    return "MsgBox [" + title + "] " + std::to_string(style) + " \"" + prompt + "\"";
}
std::string notice(const std::string& prompt)
{
    return box("<none>", 64, prompt);
}
std::string question(const std::string& prompt)
{
    return box("MARLO-Corvane:", 3, prompt);
}
bool isErrorBox(const std::string& line, const std::string& headline)
{
    return line.starts_with("MsgBox [MARLO-Corvane:] 16 \"" + headline + " \r\n ") &&
           line.ends_with(" \r\n Nothing was changed... \"");
}

// One member of a command family, with what tells it apart.
struct Command {
    const char* name;
    std::function<void(TransferCommands&)> run;
    const char* show;
    std::string title, emptyName, question;
    std::string live, other; // the live database it reads or replaces, and the other one
};

void PrintTo(const Command& c, std::ostream* os)
{
    *os << c.name;
}

const std::string Overwrite = " Your selected file already exists ! Overwrite ? ";
const std::string EnterFirst = " Please enter a filename first ! ";

const Command Command1{
    "Command1",       [](auto& c) { c.exportDatabase(Database::Con); },
    "ShowSave",       " MARLO-Corvane: EXPORT MARLOCON.MDB Database to a file...",
    EnterFirst,       Overwrite,
    "\\MARLOcon.mdb", "\\MARLOspm.mdb"};
const Command Command6{
    "Command6",       [](auto& c) { c.exportDatabase(Database::Spm); },
    "ShowSave",       " MARLO-Corvane: EXPORT MARLOSPM.MDB Database to a file...",
    EnterFirst,       Overwrite,
    "\\MARLOspm.mdb", "\\MARLOcon.mdb"};
const Command Command3{
    "Command3",
    [](auto& c) { c.importDatabase(Database::Con); },
    "ShowOpen",
    " MARLO-Corvane: IMPORT a file to MARLOCON.MDB Database...",
    EnterFirst,
    " Do you really want to import this file? Overwrite original MARLOCON.MDB database? ",
    "\\MARLOcon.mdb",
    "\\MARLOspm.mdb"};
const Command Command5{
    "Command5",
    [](auto& c) { c.importDatabase(Database::Spm); },
    "ShowOpen",
    " MARLO-Corvane: IMPORT a file to MARLOSPM.MDB Database...",
    EnterFirst,
    " Do you really want to import this file? Overwrite original MARLOSPM.MDB database? ",
    "\\MARLOspm.mdb",
    "\\MARLOcon.mdb"};
const Command Command7{"Command7",
                       [](auto& c) { c.deleteFile(); },
                       "ShowOpen",
                       " MARLO-Corvane: DELETE an MARLO-Corvane Database file...",
                       " Please first enter a filename to delete ! ",
                       " Do you really want to delete the selected file? ",
                       "",
                       ""};

auto byName = [](const auto& info) { return std::string(info.param.name); };

// What a command that changes files does first: it holds the folder and
// mends what a stopped command may have left.
const Lines held{
    "HoldFolder C:\\APP", "SeparateBackup C:\\APP\\MARLOcon.mdb -> C:\\APP\\MARLOmdb.bak",
    "SeparateBackup C:\\APP\\MARLOspm.mdb -> C:\\APP\\MARLOspm.bak",
    "FileExists C:\\APP\\.MARLOmdb.ba5.~marlo-old", "FileExists C:\\APP\\.MARLOspm.ba5.~marlo-old"};

struct Fixture {
    FakePlatform p;
    FakeCommonDialog chooser{p};
    TransferCommands commands{p, chooser};

    Fixture()
    {
        p.addFile(p.path("\\MARLOcon.mdb"), "con");
        p.addFile(p.path("\\MARLOspm.mdb"), "spm");
        p.addFile("E:\\old.bak", "old");
    }
    void answer(std::optional<std::string> name) { chooser.answers.push_back(std::move(name)); }
    void reply(int id) { p.msgBoxAnswers.push_back(id); }
    std::string content(const std::string& path) const
    {
        return p.has(path) ? p.files.at(path).content : "<none>";
    }
};

class FileCommand : public ::testing::TestWithParam<Command>, protected Fixture {
protected:
    void run() { GetParam().run(commands); }
    Lines firstPass() const { return pass("C:\\APP", GetParam().title, GetParam().show); }
    std::string live() const { return p.path(GetParam().live); }
    std::string other() const { return p.path(GetParam().other); }
};

// ---------------------------------------------------------------------------
// The chooser loop that all five file commands share.

using EveryFileCommand = FileCommand;

TEST_P(EveryFileCommand, CancelInTheChooserChangesNothingAndShowsNothing)
{
    answer(std::nullopt);
    run();
    EXPECT_EQ(p.calls, firstPass());
    EXPECT_EQ(p.files.size(), 3u);
}

// Every pass applies all five settings anew and asks for the folder anew.
TEST_P(EveryFileCommand, EveryEmptyNameIsReportedAndTheChooserIsSetUpAndShownAgain)
{
    answer("");
    answer("");
    answer(std::nullopt);
    chooser.onShow = [&] { p.appFolder = "D:\\MOVED"; };
    run();
    const Lines empty{notice(GetParam().emptyName)};
    EXPECT_EQ(p.calls, firstPass() + empty + pass("D:\\MOVED", GetParam().title, GetParam().show) +
                           empty + pass("D:\\MOVED", GetParam().title, GetParam().show));
}

TEST_P(EveryFileCommand, NoToTheQuestionShowsTheChooserAgainWithNothingDone)
{
    answer("E:\\old.bak");
    reply(IDNO);
    answer(std::nullopt);
    run();
    EXPECT_EQ(p.calls,
              (firstPass() + Lines{"FileExists E:\\old.bak", question(GetParam().question)} +
               firstPass()));
    EXPECT_EQ(content("E:\\old.bak"), "old");
    EXPECT_EQ(commands.lastAnswer(), IDNO);
}

// Cancel, a closed box (also IDCANCEL) and any unexpected answer end it.
TEST_P(EveryFileCommand, AnythingButYesOrNoEndsTheCommandWithNothingDone)
{
    for (int answerGiven : {IDCANCEL, IDOK}) {
        Fixture f;
        f.answer("E:\\old.bak");
        f.reply(answerGiven);
        GetParam().run(f.commands);
        EXPECT_EQ(f.p.calls.back(), question(GetParam().question)) << answerGiven;
        EXPECT_EQ(f.content("E:\\old.bak"), "old");
        EXPECT_EQ(f.content(f.p.path("\\MARLOcon.mdb")), "con");
    }
}

// Only a confirmed copy or delete that fails earns an error box.
TEST_P(EveryFileCommand, AnUnusableNameEndsTheCommandSilently)
{
    answer("C:\\bad|name.mdb");
    p.failOnce("FileExists C:\\bad|name.mdb", 52, "the name is not valid");
    run();
    EXPECT_EQ(p.calls.back(), "FileExists C:\\bad|name.mdb");
}

INSTANTIATE_TEST_SUITE_P(All, EveryFileCommand,
                         ::testing::Values(Command1, Command6, Command3, Command5, Command7),
                         byName);

// ---------------------------------------------------------------------------
// Export: Command1 and Command6.

using ExportCommand = FileCommand;

TEST_P(ExportCommand, ANewNameReceivesTheCopyWithoutAQuestion)
{
    // A name typed without a suffix is saved with the default extension.
    answer("E:\\keep\\copy");
    run();
    EXPECT_EQ(p.calls, (firstPass() + Lines{"FileExists E:\\keep\\copy.mdb"} + held +
                        Lines{"StageCopy " + live() + " -> E:\\keep\\copy.mdb",
                              "PlaceCopy E:\\keep\\copy.mdb", "FlushFolder E:\\keep\\copy.mdb"}));
    EXPECT_EQ(content("E:\\keep\\copy.mdb"), content(live()));
}

// The commands offer no protection for the other live database.
TEST_P(ExportCommand, AnExistingNameEvenTheOtherLiveDatabaseIsOverwrittenOnYes)
{
    const std::string exported = content(live());
    answer(other());
    reply(IDYES);
    run();
    EXPECT_EQ(p.calls, (firstPass() + Lines{"FileExists " + other(), question(Overwrite)} + held +
                        Lines{"StageCopy " + live() + " -> " + other(), "PlaceCopy " + other(),
                              "FlushFolder " + other()}));
    EXPECT_EQ(content(other()), exported);
    EXPECT_EQ(commands.lastAnswer(), IDYES);
}

TEST_P(ExportCommand, AFailedCopyChangesNothingAndSaysSo)
{
    const std::string database =
        GetParam().live == "\\MARLOcon.mdb" ? "MARLOCON.MDB" : "MARLOSPM.MDB";
    const std::string headline = " Could not export " + database + " to your selected file !";

    // Its own live database as target: the one file is left intact.
    answer(live());
    reply(IDYES);
    run();
    EXPECT_EQ(content(live()), GetParam().live == "\\MARLOcon.mdb" ? "con" : "spm");
    EXPECT_EQ(p.calls.back(),
              box("MARLO-Corvane:", 16,
                  headline + " \r\n " + live() +
                      " \r\n Reason: Permission denied. \r\n Nothing was changed... "));

    p.addFile("E:\\locked.mdb", "locked", true);
    answer("E:\\locked.mdb");
    reply(IDYES);
    run();
    EXPECT_EQ(content("E:\\locked.mdb"), "locked");
    EXPECT_TRUE(isErrorBox(p.calls.back(), headline));

    p.files.erase(live());
    answer("E:\\new.mdb");
    run();
    EXPECT_EQ(content("E:\\new.mdb"), "<none>");
    EXPECT_TRUE(isErrorBox(p.calls.back(), headline));
}

INSTANTIATE_TEST_SUITE_P(Family, ExportCommand, ::testing::Values(Command1, Command6), byName);

// A log-off waits for a copy's command from the user's last answer to its
// end, its notice included, and is told why in the progress line's words.
TEST(BusyReason, ACopysCommandGivesItsProgressLineFromTheLastAnswerToItsEnd)
{
    const struct {
        std::function<void(TransferCommands&)> run;
        std::string chosen, reason;
    } cases[] = {
        {Command1.run, "C:\\APP\\MARLOspm.mdb", " Copying MARLOCON.MDB to MARLOSPM.MDB... "},
        {Command5.run, "E:\\old.bak", " Copying old.bak to MARLOSPM.MDB... "},
        {Command6.run, "E:\\locked.mdb", " Copying MARLOSPM.MDB to locked.mdb... "},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.p.addFile("E:\\locked.mdb", "locked", true);
        f.answer(c.chosen);
        f.reply(IDYES);
        c.run(f.commands);
        const Lines& calls = f.p.calls;
        const auto answered = std::find_if(calls.begin(), calls.end(), [](const std::string& line) {
            return line.starts_with("MsgBox");
        });
        ASSERT_NE(answered, calls.end());
        const std::vector<FakePlatform::Busy> expected{
            {c.reason, static_cast<std::size_t>(answered - calls.begin()) + 1}, {"", calls.size()}};
        EXPECT_EQ(f.p.busyReasons, expected) << c.chosen;
    }
    // A command that ends before a copy is confirmed gives none.
    Fixture f;
    f.answer(std::nullopt);
    Command1.run(f.commands);
    EXPECT_TRUE(f.p.busyReasons.empty());
}

// ---------------------------------------------------------------------------
// Import: Command3 and Command5.

// Generation g of the backups of the database a command replaces, or of the
// other database.
std::string generation(const FakePlatform& p, const std::string& live, int g)
{
    const std::string stem = live == "\\MARLOcon.mdb" ? "\\MARLOmdb" : "\\MARLOspm";
    return p.path(stem + (g == 1 ? ".bak" : ".ba" + std::to_string(g)));
}

class ImportCommand : public FileCommand {
protected:
    std::string own(int g) const { return generation(p, GetParam().live, g); }
    std::string others(int g) const { return generation(p, GetParam().other, g); }
    // Every file's content, to tell that nothing at all changed.
    std::map<std::string, std::string> contents() const
    {
        std::map<std::string, std::string> all;
        for (const auto& [path, file] : p.files)
            all[path] = file.content;
        return all;
    }
    std::string family() const
    {
        std::string line = "FilesNotInUse " + live();
        for (int g = 1; g <= 5; ++g)
            line.append(1, ' ').append(own(g));
        return line;
    }
    void importOnYes(const std::string& chosen)
    {
        answer(chosen);
        reply(IDYES);
        run();
    }
    // The same, with `meanwhile` run while the copy is made.
    void importOnYesDuringCopy(const std::string& chosen)
    {
        TransferCommands slow{p, chooser, std::make_unique<CopyWithMeanwhile>(meanwhile)};
        answer(chosen);
        reply(IDYES);
        GetParam().run(slow);
    }
    std::function<void()> meanwhile;

    std::string database() const
    {
        return GetParam().live == "\\MARLOcon.mdb" ? "MARLOCON.MDB" : "MARLOSPM.MDB";
    }
    std::string aside() const
    {
        return p.path(GetParam().live == "\\MARLOcon.mdb" ? "\\.MARLOmdb.ba5.~marlo-old"
                                                          : "\\.MARLOspm.ba5.~marlo-old");
    }
    // A member's name as the boxes write it.
    std::string upper(const std::string& path) const
    {
        std::string name = path.substr(p.appFolder.size() + 1);
        for (char& c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return name;
    }

private:
    struct CopyWithMeanwhile : CopyRunner {
        explicit CopyWithMeanwhile(std::function<void()> f) : meanwhile(std::move(f)) {}
        Status run(const NamedCopy& copy) override
        {
            meanwhile();
            return copy.task({});
        }
        std::function<void()> meanwhile;
    };
};

// Any file is imported as it is, the other live database included; the
// replaced database becomes the newest backup of its own family.
TEST_P(ImportCommand, AnExistingFileReplacesTheLiveDatabaseAndTheOldOneBecomesItsBackup)
{
    const std::string before = content(live());
    const std::string imported = content(other());
    importOnYes(other());
    EXPECT_EQ(p.calls,
              (firstPass() + Lines{"FileExists " + other(), question(GetParam().question)} + held +
               Lines{family(), "FileExists " + live(), "StageCopy " + other() + " -> " + live(),
                     family(), "CheckDestination " + live(), "FileExists " + own(1),
                     "KeepBackup " + live() + " -> " + own(1), "PlaceCopy " + live(),
                     "FlushFolder " + live()}));
    EXPECT_EQ(content(live()), imported);
    EXPECT_EQ(content(other()), imported);
    EXPECT_EQ(content(own(1)), before);
    EXPECT_FALSE(p.has(others(1)));
}

TEST_P(ImportCommand, OnlyItsOwnGenerationsMoveUpAndTheOldestGoesOnlyWhenAllFiveExist)
{
    const std::string before = content(live());
    for (int g = 1; g <= 5; ++g)
        p.addFile(own(g), "gen " + std::to_string(g));
    p.addFile(others(1), "other 1");
    importOnYes("E:\\old.bak");
    EXPECT_EQ(content(live()), "old");
    EXPECT_EQ(content(own(1)), before);
    for (int g = 2; g <= 5; ++g)
        EXPECT_EQ(content(own(g)), "gen " + std::to_string(g - 1));
    EXPECT_EQ(content(others(1)), "other 1");
    EXPECT_FALSE(p.has(others(2)));
    EXPECT_FALSE(p.has(aside())); // the oldest went once the new file held the live name

    // A gap takes the run below it: nothing older is dropped.
    p.files.erase(own(3));
    importOnYes("E:\\old.bak");
    EXPECT_EQ(content(own(1)), "old");
    EXPECT_EQ(content(own(2)), before);
    EXPECT_EQ(content(own(3)), "gen 1");
    EXPECT_EQ(content(own(4)), "gen 3");
    EXPECT_EQ(content(own(5)), "gen 4");
}

// What the reset window tells the user to do.
TEST_P(ImportCommand, ChoosingTheNewestBackupRestoresItAndKeepsTheDisplacedDatabase)
{
    const std::string before = content(live());
    p.addFile(own(1), "saved");
    importOnYes(own(1));
    EXPECT_EQ(content(live()), "saved");
    EXPECT_EQ(content(own(1)), before);
    EXPECT_EQ(content(own(2)), "saved");
}

TEST_P(ImportCommand, ARefusedImportChangesNothingAtAllAndSaysWhy)
{
    const std::string database =
        GetParam().live == "\\MARLOcon.mdb" ? "MARLOCON.MDB" : "MARLOSPM.MDB";
    const std::string headline = " Could not import your selected file as " + database + " !";
    for (int g = 1; g <= 5; ++g)
        p.addFile(own(g), "gen " + std::to_string(g));
    const auto unchanged = contents();

    p.failOnce(family(), 16, "the file is in use by another program (MARLOCON.EXE)");
    importOnYes("E:\\old.bak");
    EXPECT_EQ(contents(), unchanged);
    EXPECT_TRUE(isErrorBox(p.calls.back(), headline));
    EXPECT_NE(p.calls.back().find("(MARLOCON.EXE)"), std::string::npos);

    // Another command holds the folder.
    const std::string held(failureWords(FileFailure::FolderHeld));
    p.failOnce("HoldFolder C:\\APP", 11, held);
    importOnYes("E:\\old.bak");
    EXPECT_EQ(contents(), unchanged);
    EXPECT_TRUE(isErrorBox(p.calls.back(), headline));
    EXPECT_NE(p.calls.back().find(held), std::string::npos);

    // A read-only oldest generation cannot make room.
    p.files.at(own(5)).readOnly = true;
    importOnYes("E:\\old.bak");
    EXPECT_EQ(contents(), unchanged);
    EXPECT_TRUE(isErrorBox(p.calls.back(), headline));
    EXPECT_NE(p.calls.back().find(own(5).substr(p.appFolder.size() + 1)), std::string::npos);

    // Any step that changes a name fails, or makes its change and then
    // cannot flush it: before the new content has the live name every step
    // is undone, the oldest generation comes back from aside and the backup
    // made goes, and the box never says the file was imported; from then on
    // the import is made and the box says so.
    p.files.at(own(5)).readOnly = false;
    const auto fiveGenerations = contents();
    const std::size_t start = p.calls.size();
    importOnYes("E:\\old.bak");
    const auto imported = contents();
    std::vector<std::string> steps;
    for (std::size_t i = start; i < p.calls.size(); ++i)
        for (const char* verb :
             {"SetAside ", "MoveFile ", "KeepBackup ", "PlaceCopy ", "DeleteFile "})
            if (p.calls[i].starts_with(verb))
                steps.push_back(p.calls[i]);
    ASSERT_EQ(steps.size(), 8u); // set aside, four moves, backup, placing, drop
    const std::string done = " Your selected file was imported as " + database + " !";
    for (const bool unflushed : {false, true})
        for (const std::string& step : steps) {
            for (const auto& [path, content] : fiveGenerations)
                p.addFile(path, content);
            p.files.erase(aside());
            if (!unflushed)
                p.failOnce(step);
            else if (step.starts_with("PlaceCopy "))
                p.failOnce("FlushFolder " + live(), 5, "the folder could not be flushed");
            else
                p.unflushed.insert(step);
            importOnYes("E:\\old.bak");
            const bool made = content(live()) == "old";
            SCOPED_TRACE((unflushed ? "unflushed: " : "failed: ") + step);
            if (!made) {
                EXPECT_EQ(contents(), fiveGenerations);
            }
            EXPECT_EQ(made,
                      step.starts_with("PlaceCopy ") ? unflushed : step.starts_with("DeleteFile "));
            EXPECT_TRUE(p.calls.back().starts_with("MsgBox [MARLO-Corvane:] 16 \"" +
                                                   (made ? done : headline)))
                << p.calls.back();
            if (made && step.starts_with("DeleteFile ") && !unflushed) {
                EXPECT_EQ(content(aside()), "gen 5");
            } else if (made) {
                EXPECT_EQ(contents(), imported);
            }
        }
}

// Where the drive has no links the backup is a whole copy: it runs as the
// import's own copy does, and a cancel there puts every name back.
TEST_P(ImportCommand, TheBackupCopyRunsAsALongCopyAndItsCancelPutsEveryNameBack)
{
    for (int g = 1; g <= 5; ++g)
        p.addFile(own(g), "gen " + std::to_string(g));
    const auto unchanged = contents();
    struct CancelTheSecondCopy : CopyRunner {
        Status run(const NamedCopy& copy) override
        {
            copies.push_back(copy.sourceName + " to " + copy.destinationName);
            return copy.task([second = copies.size() == 2](const CopyStep&) { return !second; });
        }
        Lines copies;
    };
    auto runner = std::make_unique<CancelTheSecondCopy>();
    const Lines& copies = runner->copies;
    TransferCommands cancelling{p, chooser, std::move(runner)};
    answer("E:\\old.bak");
    reply(IDYES);
    GetParam().run(cancelling);

    EXPECT_EQ(copies, (Lines{"old.bak to " + database(), database() + " to " + upper(own(1))}));
    EXPECT_EQ(contents(), unchanged);
    EXPECT_EQ(p.calls.back(),
              "MsgBox [MARLO-Corvane:] 16 \" The import of your selected file as " + database() +
                  " was cancelled ! \r\n E:\\old.bak \r\n Nothing was changed... \"");
}

// A copy can take minutes: a main program started meanwhile, or a database
// made meanwhile where there was none, is found right before the first
// change, and nothing changes.
TEST_P(ImportCommand, WhatChangedDuringTheCopyRefusesTheImportWithNothingChanged)
{
    const std::string headline = " Could not import your selected file as " + database() + " !";
    for (int g = 1; g <= 5; ++g)
        p.addFile(own(g), "gen " + std::to_string(g));
    const auto unchanged = contents();
    meanwhile = [&] { p.failOnce(family(), 16, "the file is in use by another program"); };
    importOnYesDuringCopy("E:\\old.bak");
    EXPECT_EQ(contents(), unchanged);
    EXPECT_TRUE(isErrorBox(p.calls.back(), headline));

    p.files.erase(live());
    meanwhile = [&] { p.addFile(live(), "made meanwhile"); };
    importOnYesDuringCopy("E:\\old.bak");
    EXPECT_EQ(content(live()), "made meanwhile");
    EXPECT_TRUE(isErrorBox(p.calls.back(), headline));
}

// Where a step cannot be undone, the box says where the old data now is,
// never that nothing was changed.
TEST_P(ImportCommand, WhatCouldNotBePutBackIsToldExactly)
{
    for (int g = 1; g <= 5; ++g)
        p.addFile(own(g), "gen " + std::to_string(g));
    p.failOnce("PlaceCopy " + live());
    p.failOnce("RemoveKeptBackup " + own(1), 5, "the disk could not be read or written");
    importOnYes("E:\\old.bak");
    const std::string& box = p.calls.back();
    EXPECT_EQ(box.find("Nothing was changed"), std::string::npos) << box;
    EXPECT_NE(box.find(" Not everything could be put back: " + upper(own(1)) +
                       " is now a second name of " + database() + ". " + upper(own(1)) +
                       " is now " + upper(own(2)) + ". "),
              std::string::npos)
        << box;
    EXPECT_EQ(content(own(1)), content(live()));
    EXPECT_EQ(content(own(2)), "gen 1"); // the generations above it could not go back
    EXPECT_EQ(content(aside()), "gen 5");
    EXPECT_NE(
        box.find(upper(own(5)) + " is now " + aside().substr(p.appFolder.size() + 1) + "... "),
        std::string::npos);
}

// Once the new content has the live name, the backup is the old content's
// only name: a failure after that keeps it, and the box says the import was
// made.
TEST_P(ImportCommand, AFailureAfterTheNewContentTookTheNameKeepsTheBackupAndSaysWhatWasDone)
{
    const std::string before = content(live());
    p.addFile(own(1), "gen 1");
    p.failOnce("FlushFolder " + live(), 5, "the folder could not be flushed to the disk");
    importOnYes("E:\\old.bak");
    EXPECT_EQ(content(live()), "old");
    EXPECT_EQ(content(own(1)), before);
    EXPECT_EQ(content(own(2)), "gen 1");
    EXPECT_EQ(p.calls.back(),
              box("MARLO-Corvane:", 16,
                  " Your selected file was imported as " + database() +
                      " ! \r\n E:\\old.bak \r\n Reason: the folder could not be flushed to the "
                      "disk. \r\n The old " +
                      database() + " is now " + upper(own(1)) +
                      ". The drive did not confirm that the change is on the disk... "));

    // The oldest generation that cannot be dropped stays aside, and is named.
    for (int g = 2; g <= 5; ++g)
        p.addFile(own(g), "gen " + std::to_string(g));
    p.failOnce("DeleteFile " + aside() + " 0");
    importOnYes("E:\\old.bak");
    EXPECT_EQ(content(aside()), "gen 5");
    EXPECT_NE(p.calls.back().find("The oldest backup " + upper(own(5)) +
                                  " could not be removed and is kept as " +
                                  aside().substr(p.appFolder.size() + 1) + "."),
              std::string::npos)
        << p.calls.back();
}

TEST_P(ImportCommand, AMissingNameIsReportedAndEndsTheCommand)
{
    answer("E:\\gone.mdb");
    run();
    EXPECT_EQ(p.calls,
              (firstPass() + Lines{"FileExists E:\\gone.mdb",
                                   notice(" Your selected file does not exist! Aborting... ")}));
}

TEST_P(ImportCommand, AMissingLiveDatabaseIsCreatedOnYes)
{
    p.files.erase(live());
    answer("E:\\old.bak");
    reply(IDYES);
    run();
    EXPECT_EQ(content(live()), "old");
}

TEST_P(ImportCommand, AFailedCopyChangesNothingAndSaysSo)
{
    const std::string before = content(live());
    const std::string database =
        GetParam().live == "\\MARLOcon.mdb" ? "MARLOCON.MDB" : "MARLOSPM.MDB";
    const std::string headline = " Could not import your selected file as " + database + " !";

    // Its own live database as source.
    answer(live());
    reply(IDYES);
    run();
    EXPECT_EQ(content(live()), before);
    EXPECT_EQ(p.calls.back(),
              box("MARLO-Corvane:", 16,
                  headline + " \r\n " + live() +
                      " \r\n Reason: Permission denied. \r\n Nothing was changed... "));

    p.files.at(live()).readOnly = true;
    answer("E:\\old.bak");
    reply(IDYES);
    run();
    EXPECT_EQ(content(live()), before);
    EXPECT_TRUE(isErrorBox(p.calls.back(), headline));
}

INSTANTIATE_TEST_SUITE_P(Family, ImportCommand, ::testing::Values(Command3, Command5), byName);

// ---------------------------------------------------------------------------
// Delete: Command7.

class DeleteCommand : public ::testing::Test, protected Fixture {
protected:
    Lines firstPass() const { return pass("C:\\APP", Command7.title, "ShowOpen"); }
};

// The name is taken literally, never as a pattern.
TEST_F(DeleteCommand, TheConfirmedFileAloneIsDeletedWithoutAFurtherWord)
{
    p.addFile("C:\\APP\\*.mdb");
    answer("C:\\APP\\*.mdb");
    reply(IDYES);
    commands.deleteFile();
    EXPECT_EQ(p.calls,
              (firstPass() + Lines{"FileExists C:\\APP\\*.mdb", question(Command7.question)} +
               held + Lines{"DeleteFile C:\\APP\\*.mdb 0"}));
    EXPECT_FALSE(p.has("C:\\APP\\*.mdb"));
    EXPECT_EQ(p.files.size(), 3u);
}

TEST_F(DeleteCommand, AMissingNameIsReportedAndEndsTheCommand)
{
    answer("C:\\APP\\nothing.mdb");
    commands.deleteFile();
    EXPECT_EQ(p.calls, (firstPass() + Lines{"FileExists C:\\APP\\nothing.mdb",
                                            notice(" Your selected file to delete does not exist ! "
                                                   "Aborting... ")}));
}

TEST_F(DeleteCommand, AReadOnlyFileStaysAndTheFailureIsShown)
{
    p.addFile("C:\\APP\\keep.mdb", "keep", true);
    answer("C:\\APP\\keep.mdb");
    reply(IDYES);
    commands.deleteFile();
    EXPECT_TRUE(p.has("C:\\APP\\keep.mdb"));
    EXPECT_EQ(p.calls.back(),
              box("MARLO-Corvane:", 16,
                  " Could not delete your selected file ! \r\n C:\\APP\\keep.mdb \r\n Reason: "
                  "Permission denied. \r\n Nothing was changed... "));
}

// ---------------------------------------------------------------------------
// A picked shortcut is the file itself: an export replaces it and a delete
// removes it, each after its question; an import refuses it before asking,
// since its own bytes would become the live database.

TEST(Shortcuts, AreReplacedOrDeletedThemselvesButNeverImported)
{
    const std::string link = "E:\\Con backup.LNK";
    const struct {
        const Command& command;
        std::string next; // after the existence test
        std::string left; // the shortcut's content afterwards
    } cases[] = {
        {Command1, question(Overwrite), "con"},
        {Command7, question(Command7.question), "<none>"},
        {Command5,
         notice(" Your selected file is only a shortcut, not a database file! Aborting... "),
         "shortcut"},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.p.addFile(link, "shortcut");
        f.answer(link);
        f.reply(IDYES);
        c.command.run(f.commands);
        const auto tested = std::ranges::find(f.p.calls, "FileExists " + link);
        ASSERT_LT(tested + 1, f.p.calls.end()) << c.command.name;
        EXPECT_EQ(tested[1], c.next) << c.command.name;
        EXPECT_EQ(f.content(link), c.left) << c.command.name;
        EXPECT_EQ(f.content(f.p.path("\\MARLOspm.mdb")), "spm") << c.command.name;
    }
}

// ---------------------------------------------------------------------------
// What the window keeps between commands, and the exits.

TEST(SharedWindowState, FileNameAndTheLastAnswerOutliveTheCommandThatSetThem)
{
    Fixture f;
    f.answer("E:\\old.bak");
    f.reply(IDCANCEL);
    f.commands.exportDatabase(Database::Con);

    std::string seenAtShowing;
    f.chooser.onShow = [&] { seenAtShowing = f.chooser.FileName(); };
    f.answer(std::nullopt);
    f.commands.importDatabase(Database::Spm);
    EXPECT_EQ(seenAtShowing, "E:\\old.bak");
    EXPECT_EQ(f.commands.lastAnswer(), IDCANCEL);
}

TEST(Exits, RestartStartsTheMainProgramThenClosesTheWindowEvenWhenItIsMissing)
{
    for (bool found : {true, false}) {
        Fixture f;
        f.p.shellFindsProgram = found;
        f.commands.exitAndRestart();
        EXPECT_EQ(f.p.calls, (Lines{"Shell MARLOCON.EXE 1", "Unload 0"})) << found;
    }
}

TEST(Exits, QuitOnlyClosesTheWindow)
{
    Fixture f;
    f.commands.quit();
    EXPECT_EQ(f.p.calls, (Lines{"Unload 0"}));
}

// ---------------------------------------------------------------------------
// The runner hands back what its task answered, and a runner that stopped
// after the task had answered (a cancel as the copy ended) wins over it.

TEST(CopyRunner, HandsBackTheTasksAnswerUnlessTheRunnerFailed)
{
    const auto seven = [](const CopyProgress&) { return Result<int>(7); };
    DirectCopy direct;
    EXPECT_EQ(direct.copy("a", "b", seven).value(), 7);

    struct CancelledAtTheEnd : CopyRunner {
        Status run(const NamedCopy& copy) override
        {
            names = copy.sourceName + " to " + copy.destinationName;
            (void)copy.task({});
            return Status::cancelled(1, "cancelled");
        }
        std::string names;
    } late;
    const Result<int> answer = late.copy("a", "b", seven);
    ASSERT_FALSE(answer.ok());
    EXPECT_TRUE(answer.error().cancelled);
    EXPECT_EQ(late.names, "a to b");
}

} // namespace
