#include "FakePlatform.h"
#include "TransferCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace marlo;
using marlo::test::FakeCommonDialog;
using marlo::test::FakePlatform;
using Lines = std::vector<std::string>;

namespace {

const std::string Filter =
    "MS Access DB (*.mdb)|*.mdb|Backup files (*.bak)|*.bak|All files (*.*)|*.*";

// The five settings that precede every showing, in their order.
Lines settings(const std::string& folder, const std::string& title)
{
    return {"CancelError = -1", "InitDir = " + folder, "DefaultExt = *.mdb", "Filter = " + Filter,
            "DialogTitle = " + title};
}

Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string notice(const std::string& prompt)
{
    return "MsgBox [<none>] 64 \"" + prompt + "\"";
}

std::string question(const std::string& prompt)
{
    return "MsgBox [MARLO-Corvane:] 3 \"" + prompt + "\"";
}

std::string errorBox(const std::string& prompt)
{
    return "MsgBox [MARLO-Corvane:] 16 \"" + prompt + "\"";
}

struct Fixture {
    FakePlatform p;
    FakeCommonDialog chooser{p};
    TransferCommands commands{p, chooser};

    Fixture()
    {
        p.addFile(p.path("\\MARLOcon.mdb"), "con");
        p.addFile(p.path("\\MARLOspm.mdb"), "spm");
    }
    void answer(std::optional<std::string> name) { chooser.answers.push_back(std::move(name)); }
    void reply(int id) { p.msgBoxAnswers.push_back(id); }
};

// ---------------------------------------------------------------------------
// What all five file commands share: the chooser loop.

struct AnyCommand {
    const char* name;
    std::function<void(TransferCommands&)> run;
    const char* show;
    std::string title;
    std::string emptyName;
    std::string question;
};

void PrintTo(const AnyCommand& c, std::ostream* os)
{
    *os << c.name;
}

class EveryFileCommand : public ::testing::TestWithParam<AnyCommand>, protected Fixture {};

TEST_P(EveryFileCommand, CancelInTheChooserChangesNothingAndShowsNothing)
{
    const auto before = p.files;
    answer(std::nullopt);
    GetParam().run(commands);
    EXPECT_EQ(p.calls, (settings("C:\\APP", GetParam().title) + Lines{GetParam().show}));
    EXPECT_EQ(p.files.size(), before.size());
    EXPECT_EQ(p.files.at(p.path("\\MARLOcon.mdb")).content, "con");
}

// Every pass applies all five settings anew and asks for the folder anew.
TEST_P(EveryFileCommand, EveryEmptyNameIsReportedAndTheChooserIsSetUpAndShownAgain)
{
    answer("");
    answer("");
    answer(std::nullopt);
    int shown = 0;
    chooser.onShow = [&] {
        if (++shown == 2)
            p.appFolder = "D:\\MOVED";
    };
    GetParam().run(commands);

    const Lines pass1 = settings("C:\\APP", GetParam().title) + Lines{GetParam().show};
    const Lines pass = settings("D:\\MOVED", GetParam().title) + Lines{GetParam().show};
    const Lines empty{notice(GetParam().emptyName)};
    EXPECT_EQ(p.calls, (pass1 + empty + settings("C:\\APP", GetParam().title) +
                        Lines{GetParam().show} + empty + pass));
}

TEST_P(EveryFileCommand, NoToTheQuestionShowsTheChooserAgainWithNothingDone)
{
    p.addFile("C:\\ELSE\\old.mdb", "old");
    answer("C:\\ELSE\\old.mdb");
    reply(IDNO);
    answer(std::nullopt);
    GetParam().run(commands);

    const Lines pass = settings("C:\\APP", GetParam().title) + Lines{GetParam().show};
    EXPECT_EQ(p.calls,
              (pass + Lines{"FileExists C:\\ELSE\\old.mdb", question(GetParam().question)} + pass));
    EXPECT_EQ(p.files.at("C:\\ELSE\\old.mdb").content, "old");
    EXPECT_EQ(commands.lastAnswer(), IDNO);
}

// Cancel, a closed box (also IDCANCEL) and any unexpected answer end it.
TEST_P(EveryFileCommand, AnythingButYesOrNoEndsTheCommandWithNothingDone)
{
    for (int reply : {IDCANCEL, IDOK}) {
        Fixture f;
        f.p.addFile("C:\\ELSE\\old.mdb", "old");
        f.answer("C:\\ELSE\\old.mdb");
        f.reply(reply);
        GetParam().run(f.commands);

        EXPECT_EQ(f.p.calls.back(), question(GetParam().question)) << reply;
        EXPECT_EQ(f.p.files.at("C:\\ELSE\\old.mdb").content, "old");
        EXPECT_EQ(f.p.files.at(f.p.path("\\MARLOcon.mdb")).content, "con");
        EXPECT_EQ(f.commands.lastAnswer(), reply);
    }
}

// An existence test that cannot be made ends the command before any
// question, silently: only a confirmed copy or delete earns an error box.
TEST_P(EveryFileCommand, AnUnusableNameEndsTheCommandSilently)
{
    answer("C:\\bad|name");
    p.failOnce("FileExists C:\\bad|name", 52, "the name is not valid");
    GetParam().run(commands);
    EXPECT_EQ(p.calls.back(), "FileExists C:\\bad|name");
    EXPECT_FALSE(commands.lastAnswer());
}

// ---------------------------------------------------------------------------
// Export: Command1 and Command6.

struct ExportCase {
    const char* name;
    Database database;
    std::string title;
    std::string source;  // the live database exported
    std::string other;   // the other live database
    std::string content; // what the source holds
    std::string userForm;
};

void PrintTo(const ExportCase& c, std::ostream* os)
{
    *os << c.name;
}

class ExportCommand : public ::testing::TestWithParam<ExportCase>, protected Fixture {
protected:
    void run() { commands.exportDatabase(GetParam().database); }
    Lines pass() const { return settings("C:\\APP", GetParam().title) + Lines{"ShowSave"}; }
    std::string copyTo(const std::string& target) const
    {
        return "CopyFile C:\\APP" + GetParam().source + " -> " + target + " -1";
    }
};

TEST_P(ExportCommand, ANewNameReceivesTheCopyWithoutAQuestion)
{
    answer("E:\\keep\\copy");
    run();
    EXPECT_EQ(p.calls, (pass() + Lines{"FileExists E:\\keep\\copy", copyTo("E:\\keep\\copy")}));
    EXPECT_EQ(p.files.at("E:\\keep\\copy").content, GetParam().content);
}

TEST_P(ExportCommand, AnExistingNameIsOverwrittenOnYes)
{
    p.addFile("E:\\old.bak", "old");
    answer("E:\\old.bak");
    reply(IDYES);
    run();
    EXPECT_EQ(p.calls,
              (pass() + Lines{"FileExists E:\\old.bak",
                              question(" Your selected file already exists ! Overwrite ? "),
                              copyTo("E:\\old.bak")}));
    EXPECT_EQ(p.files.at("E:\\old.bak").content, GetParam().content);
    EXPECT_EQ(commands.lastAnswer(), IDYES);
}

TEST_P(ExportCommand, ItsOwnLiveDatabaseAsTargetStaysIntactAndTheFailureIsShown)
{
    const std::string own = p.path(GetParam().source);
    answer(own);
    reply(IDYES);
    run();
    EXPECT_EQ(p.files.at(own).content, GetParam().content);
    EXPECT_EQ(p.calls.end()[-2], copyTo(own));
    EXPECT_EQ(p.calls.back(),
              errorBox(" Could not export " + GetParam().userForm +
                       " to your selected file ! \r\n " + own +
                       " \r\n Reason: Permission denied. \r\n Nothing was changed... "));
}

TEST_P(ExportCommand, TheOtherLiveDatabaseIsReplacedOnYes)
{
    const std::string other = p.path(GetParam().other);
    answer(other);
    reply(IDYES);
    run();
    EXPECT_EQ(p.files.at(other).content, GetParam().content);
    EXPECT_EQ(p.calls.back(), copyTo(other));
}

TEST_P(ExportCommand, AReadOnlyTargetStaysAsItWasAndTheFailureIsShown)
{
    p.addFile("E:\\locked.mdb", "locked", true);
    answer("E:\\locked.mdb");
    reply(IDYES);
    run();
    EXPECT_EQ(p.files.at("E:\\locked.mdb").content, "locked");
    EXPECT_EQ(p.calls.back().rfind("MsgBox [MARLO-Corvane:] 16 \" Could not export ", 0), 0u);
}

TEST_P(ExportCommand, AMissingLiveDatabaseCreatesNoTargetAndTheFailureIsShown)
{
    p.files.erase(p.path(GetParam().source));
    answer("E:\\new.mdb");
    run();
    EXPECT_FALSE(p.has("E:\\new.mdb"));
    EXPECT_EQ(p.calls.back(),
              errorBox(" Could not export " + GetParam().userForm +
                       " to your selected file ! \r\n E:\\new.mdb \r\n Reason: File not found. "
                       "\r\n Nothing was changed... "));
}

INSTANTIATE_TEST_SUITE_P(
    Family, ExportCommand,
    ::testing::Values(ExportCase{"Command1", Database::Con,
                                 " MARLO-Corvane: EXPORT MARLOCON.MDB Database to a file...",
                                 "\\MARLOcon.mdb", "\\MARLOspm.mdb", "con", "MARLOCON.MDB"},
                      ExportCase{"Command6", Database::Spm,
                                 " MARLO-Corvane: EXPORT MARLOSPM.MDB Database to a file...",
                                 "\\MARLOspm.mdb", "\\MARLOcon.mdb", "spm", "MARLOSPM.MDB"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Import: Command3 and Command5.

struct ImportCase {
    const char* name;
    Database database;
    std::string title;
    std::string question;
    std::string live;    // the live database replaced
    std::string other;   // the other live database
    std::string content; // what the live database holds
    std::string userForm;
};

void PrintTo(const ImportCase& c, std::ostream* os)
{
    *os << c.name;
}

class ImportCommand : public ::testing::TestWithParam<ImportCase>, protected Fixture {
protected:
    void run() { commands.importDatabase(GetParam().database); }
    Lines pass() const { return settings("C:\\APP", GetParam().title) + Lines{"ShowOpen"}; }
    std::string live() const { return "C:\\APP" + GetParam().live; }
    std::string copyFrom(const std::string& source) const
    {
        return "CopyFile " + source + " -> " + live() + " -1";
    }
};

TEST_P(ImportCommand, AnExistingFileReplacesTheLiveDatabaseOnYes)
{
    p.addFile("E:\\saved.bak", "saved");
    answer("E:\\saved.bak");
    reply(IDYES);
    run();
    EXPECT_EQ(p.calls, (pass() + Lines{"FileExists E:\\saved.bak", question(GetParam().question),
                                       copyFrom("E:\\saved.bak")}));
    EXPECT_EQ(p.files.at(live()).content, "saved");
    EXPECT_EQ(p.files.at("E:\\saved.bak").content, "saved");
}

TEST_P(ImportCommand, AMissingNameIsReportedAndEndsTheCommand)
{
    answer("E:\\gone.mdb");
    run();
    EXPECT_EQ(p.calls,
              (pass() + Lines{"FileExists E:\\gone.mdb",
                              notice(" Your selected file does not exist! Aborting... ")}));
    EXPECT_EQ(p.files.at(live()).content, GetParam().content);
}

TEST_P(ImportCommand, ItsOwnLiveDatabaseAsSourceStaysIntactAndTheFailureIsShown)
{
    answer(live());
    reply(IDYES);
    run();
    EXPECT_EQ(p.files.at(live()).content, GetParam().content);
    EXPECT_EQ(p.calls.end()[-2], copyFrom(live()));
    EXPECT_EQ(p.calls.back(),
              errorBox(" Could not import your selected file as " + GetParam().userForm +
                       " ! \r\n " + live() +
                       " \r\n Reason: Permission denied. \r\n Nothing was changed... "));
}

TEST_P(ImportCommand, TheOtherLiveDatabaseBecomesThisOneOnYes)
{
    const std::string other = p.path(GetParam().other);
    const std::string otherContent = p.files.at(other).content;
    answer(other);
    reply(IDYES);
    run();
    EXPECT_EQ(p.files.at(live()).content, otherContent);
    EXPECT_EQ(p.files.at(other).content, otherContent);
}

TEST_P(ImportCommand, AReadOnlyLiveDatabaseStaysAsItWasAndTheFailureIsShown)
{
    p.files.at(live()).readOnly = true;
    p.addFile("E:\\saved.mdb", "saved");
    answer("E:\\saved.mdb");
    reply(IDYES);
    run();
    EXPECT_EQ(p.files.at(live()).content, GetParam().content);
    EXPECT_EQ(p.calls.back().rfind("MsgBox [MARLO-Corvane:] 16 \" Could not import ", 0), 0u);
}

TEST_P(ImportCommand, AMissingLiveDatabaseIsCreatedOnYes)
{
    p.files.erase(live());
    p.addFile("E:\\saved.mdb", "saved");
    answer("E:\\saved.mdb");
    reply(IDYES);
    run();
    EXPECT_EQ(p.files.at(live()).content, "saved");
    EXPECT_EQ(p.calls.back(), copyFrom("E:\\saved.mdb"));
}

INSTANTIATE_TEST_SUITE_P(
    Family, ImportCommand,
    ::testing::Values(
        ImportCase{"Command3", Database::Con,
                   " MARLO-Corvane: IMPORT a file to MARLOCON.MDB Database...",
                   " Do you really want to import this file? Overwrite original MARLOCON.MDB "
                   "database? ",
                   "\\MARLOcon.mdb", "\\MARLOspm.mdb", "con", "MARLOCON.MDB"},
        ImportCase{"Command5", Database::Spm,
                   " MARLO-Corvane: IMPORT a file to MARLOSPM.MDB Database...",
                   " Do you really want to import this file? Overwrite original MARLOSPM.MDB "
                   "database? ",
                   "\\MARLOspm.mdb", "\\MARLOcon.mdb", "spm", "MARLOSPM.MDB"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Delete: Command7.

const std::string DeleteTitle = " MARLO-Corvane: DELETE an MARLO-Corvane Database file...";
const std::string DeleteQuestion = " Do you really want to delete the selected file? ";

class DeleteCommand : public ::testing::Test, protected Fixture {
protected:
    Lines pass() const { return settings("C:\\APP", DeleteTitle) + Lines{"ShowOpen"}; }
};

TEST_F(DeleteCommand, AnExistingFileIsDeletedOnYesWithoutAFurtherWord)
{
    p.addFile("C:\\APP\\MARLOmdb.ba3");
    answer("C:\\APP\\MARLOmdb.ba3");
    reply(IDYES);
    commands.deleteFile();
    EXPECT_EQ(p.calls, (pass() + Lines{"FileExists C:\\APP\\MARLOmdb.ba3", question(DeleteQuestion),
                                       "DeleteFile C:\\APP\\MARLOmdb.ba3 0"}));
    EXPECT_FALSE(p.has("C:\\APP\\MARLOmdb.ba3"));
}

TEST_F(DeleteCommand, AMissingNameIsReportedAndEndsTheCommand)
{
    answer("C:\\APP\\nothing.mdb");
    commands.deleteFile();
    EXPECT_EQ(
        p.calls,
        (pass() + Lines{"FileExists C:\\APP\\nothing.mdb",
                        notice(" Your selected file to delete does not exist ! Aborting... ")}));
}

TEST_F(DeleteCommand, AReadOnlyFileStaysAndTheFailureIsShown)
{
    p.addFile("C:\\APP\\keep.mdb", "keep", true);
    answer("C:\\APP\\keep.mdb");
    reply(IDYES);
    commands.deleteFile();
    EXPECT_TRUE(p.has("C:\\APP\\keep.mdb"));
    EXPECT_EQ(p.calls.back(),
              errorBox(" Could not delete your selected file ! \r\n C:\\APP\\keep.mdb \r\n Reason: "
                       "Permission denied. \r\n Nothing was changed... "));
}

TEST_F(DeleteCommand, ANameWithPatternCharactersDeletesOnlyThatOneFile)
{
    p.addFile("C:\\APP\\*.mdb");
    p.addFile("C:\\APP\\a.mdb");
    answer("C:\\APP\\*.mdb");
    reply(IDYES);
    commands.deleteFile();
    EXPECT_FALSE(p.has("C:\\APP\\*.mdb"));
    EXPECT_TRUE(p.has("C:\\APP\\a.mdb"));
    EXPECT_TRUE(p.has(p.path("\\MARLOcon.mdb")));
}

// ---------------------------------------------------------------------------
// The window-level state that the commands share.

INSTANTIATE_TEST_SUITE_P(
    All, EveryFileCommand,
    ::testing::Values(
        AnyCommand{"Command1", [](TransferCommands& c) { c.exportDatabase(Database::Con); },
                   "ShowSave", " MARLO-Corvane: EXPORT MARLOCON.MDB Database to a file...",
                   " Please enter a filename first ! ",
                   " Your selected file already exists ! Overwrite ? "},
        AnyCommand{"Command6", [](TransferCommands& c) { c.exportDatabase(Database::Spm); },
                   "ShowSave", " MARLO-Corvane: EXPORT MARLOSPM.MDB Database to a file...",
                   " Please enter a filename first ! ",
                   " Your selected file already exists ! Overwrite ? "},
        AnyCommand{"Command3", [](TransferCommands& c) { c.importDatabase(Database::Con); },
                   "ShowOpen", " MARLO-Corvane: IMPORT a file to MARLOCON.MDB Database...",
                   " Please enter a filename first ! ",
                   " Do you really want to import this file? Overwrite original MARLOCON.MDB "
                   "database? "},
        AnyCommand{"Command5", [](TransferCommands& c) { c.importDatabase(Database::Spm); },
                   "ShowOpen", " MARLO-Corvane: IMPORT a file to MARLOSPM.MDB Database...",
                   " Please enter a filename first ! ",
                   " Do you really want to import this file? Overwrite original MARLOSPM.MDB "
                   "database? "},
        AnyCommand{"Command7", [](TransferCommands& c) { c.deleteFile(); }, "ShowOpen", DeleteTitle,
                   " Please first enter a filename to delete ! ", DeleteQuestion}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SharedWindowState, TheChooserKeepsFileNameFromOneCommandToTheNext)
{
    Fixture f;
    f.answer("E:\\first.mdb");
    f.commands.exportDatabase(Database::Con);

    std::string seenAtShowing;
    f.chooser.onShow = [&] { seenAtShowing = f.chooser.fileName; };
    f.answer(std::nullopt);
    f.commands.importDatabase(Database::Spm);
    EXPECT_EQ(seenAtShowing, "E:\\first.mdb");
    EXPECT_EQ(f.chooser.FileName(), "E:\\first.mdb");
}

TEST(SharedWindowState, TheLastAnswerIsWrittenOnlyByAQuestion)
{
    Fixture f;
    f.p.addFile("E:\\x.mdb");
    f.answer("E:\\x.mdb");
    f.reply(IDCANCEL);
    f.commands.deleteFile();
    EXPECT_EQ(f.commands.lastAnswer(), IDCANCEL);

    f.answer("E:\\missing.mdb");
    f.commands.importDatabase(Database::Con);
    EXPECT_EQ(f.commands.lastAnswer(), IDCANCEL);
}

// ---------------------------------------------------------------------------
// The exits.

TEST(Exits, RestartStartsTheMainProgramThenClosesTheWindow)
{
    for (bool found : {true, false}) {
        FakePlatform p;
        FakeCommonDialog chooser{p};
        TransferCommands commands{p, chooser};
        p.shellFindsProgram = found;
        if (!found)
            p.failOnce("Shell MARLOCON.EXE 1", 53, "the program was not found");
        commands.exitAndRestart();
        EXPECT_EQ(p.calls, (Lines{"Shell MARLOCON.EXE 1", "Unload 0"})) << found;
    }
}

TEST(Exits, QuitOnlyClosesTheWindow)
{
    FakePlatform p;
    FakeCommonDialog chooser{p};
    TransferCommands commands{p, chooser};
    commands.quit();
    EXPECT_EQ(p.calls, (Lines{"Unload 0"}));
}

} // namespace
