// The file chooser's rules, which every toolkit's chooser shares: the file
// types of a filter, the default extension, the name a showing starts with,
// and what a showing hands the toolkit and leaves behind.
#include "FileChooser.h"

#include <gtest/gtest.h>

#include <deque>

namespace marlo {
namespace {

using Types = std::vector<FileType>;

TEST(ChooserFilter, EveryPairIsOneFileTypeInOrderAndALoneDescriptionIsDropped)
{
    EXPECT_EQ(fileTypesFor("MS Access DB (*.mdb)|*.mdb|Either| *.mdb ; *.bak;|Anything|"),
              (Types{{"MS Access DB (*.mdb)", {"*.mdb"}},
                     {"Either", {"*.mdb", "*.bak"}},
                     {"Anything", {"*"}}}));
    EXPECT_EQ(fileTypesFor("Odd|*.x|Odd one out"), (Types{{"Odd", {"*.x"}}}));
    EXPECT_EQ(fileTypesFor("Odd one out"), Types{});
    EXPECT_EQ(fileTypesFor(""), Types{});
}

TEST(ChooserFilter, TheDefaultExtensionIsTheSuffixOfOnePattern)
{
    for (const char* given : {"*.mdb", ".mdb", "mdb", " *.mdb "})
        EXPECT_EQ(defaultExtensionFor(given), "mdb") << given;
    for (const char* given : {"*.*", "*", "*.md?", ""})
        EXPECT_EQ(defaultExtensionFor(given), "") << given;
}

// Whatever file type is listed, a typed suffix is the user's: "x.ba2" must
// not become "x.ba2.mdb", nor "x.MDB" become "x.MDB.mdb".
TEST(ChooserDefaultExtension, IsAddedOnlyToANameWithoutADot)
{
    constexpr PathForm Win = PathForm::Windows, Posix = PathForm::Posix;
    const struct {
        const char* typed;
        PathForm form;
        const char* saved;
    } cases[] = {
        {"C:\\APP\\backup", Win, "C:\\APP\\backup.mdb"},
        {"C:\\APP\\x.ba2", Win, "C:\\APP\\x.ba2"},
        {"C:\\APP\\x.MDB", Win, "C:\\APP\\x.MDB"},
        {"C:\\APP\\x.", Win, "C:\\APP\\x."},
        {"C:\\A.PP\\x", Win, "C:\\A.PP\\x.mdb"},
        {"C:/A.PP/x", Win, "C:/A.PP/x.mdb"},
        // On Linux a backslash belongs to the name.
        {"/opt/a.pp\\x", Posix, "/opt/a.pp\\x"},
        {"/opt/app.d/x", Posix, "/opt/app.d/x.mdb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nameWithDefaultExtension(c.typed, "mdb", c.form), c.saved) << c.typed;
    EXPECT_EQ(nameWithDefaultExtension("C:\\APP\\x", "", Win), "C:\\APP\\x");
}

// What the shell would follow to another file: the import must not copy the
// shortcut's own bytes over a live database.
TEST(ChooserShortcut, IsAWindowsNameEndingInLnkAsWindowsReadsIt)
{
    constexpr PathForm Win = PathForm::Windows, Posix = PathForm::Posix;
    const struct {
        const char* path;
        PathForm form;
        bool shortcut;
    } cases[] = {
        {"C:\\APP\\con backup.lnk", Win, true}, {"C:/APP/X.LNK", Win, true},
        {"C:\\APP\\x.Lnk. . ", Win, true}, // Windows drops the trailing dots and blanks
        {"C:\\APP\\x.lnk.mdb", Win, false},     {"C:\\APP\\xlnk", Win, false},
        {"C:\\links.lnk\\x.mdb", Win, false}, // a folder's name tells nothing
        {"C:\\APP\\.lnk", Win, true},           {"/opt/app/x.lnk", Posix, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isShortcutName(c.path, c.form), c.shortcut) << c.path;
}

// A name chosen in one folder and offered in another would be another file
// there: after an export to D:\Bak, "Delete file" and Enter twice would
// delete the live database. So a name is offered only where the chooser
// opens in its very folder, and wherever that is not sure, none is.
TEST(ChooserInitialName, IsTheLastNameOnlyInTheFolderItWasChosenIn)
{
    constexpr PathForm Win = PathForm::Windows, Posix = PathForm::Posix;
    const struct {
        const char* last;
        const char* folder;
        PathForm form;
        const char* offered;
    } cases[] = {
        {"C:\\APP\\MARLOcon.mdb", "C:\\APP", Win, "MARLOcon.mdb"},
        {"D:\\Bak\\MARLOcon.mdb", "C:\\APP", Win, ""},
        {"C:\\APP\\Bak\\x.mdb", "C:\\APP", Win, ""},
        {"C:\\x.mdb", "C:\\APP", Win, ""},
        // Either slash, any case of ASCII letters, a separator at the end.
        {"c:/app/x.mdb", "C:\\APP\\", Win, "x.mdb"},
        {"\\\\srv\\share\\x.mdb", "\\\\SRV\\share/", Win, "x.mdb"},
        // A drive's root is "C:\"; "C:" is the current folder on C.
        {"C:\\x.mdb", "C:\\", Win, "x.mdb"},
        {"C:\\x.mdb", "C:", Win, ""},
        // Not sure: other letters' case, a path without its drive, a
        // relative one, no folder to open in.
        {"C:\\\xc3\x84\\x.mdb", "C:\\\xc3\xa4", Win, ""},
        {"\\APP\\x.mdb", "\\APP", Win, ""},
        {"APP\\x.mdb", "APP", Win, ""},
        {"C:\\APP\\x.mdb", "", Win, ""},
        {"", "C:\\APP", Win, ""},
        // On Linux a backslash is part of a name, and case tells names apart.
        {"/opt/app/x.mdb", "/opt/app/", Posix, "x.mdb"},
        {"/x.mdb", "/", Posix, "x.mdb"},
        {"/opt/App/x.mdb", "/opt/app", Posix, ""},
        {"/opt/app\\x.mdb", "/opt/app", Posix, ""},
        {"/opt/app\\x.mdb", "/opt", Posix, "app\\x.mdb"},
        {"opt/x.mdb", "opt", Posix, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(initialNameFor(c.last, c.folder, c.form), c.offered)
            << c.last << " in " << c.folder;
}

// A chooser whose toolkit is a script: it keeps every request and answers
// each showing with the next entry.
class ScriptedChooser : public FileChooser {
public:
    ScriptedChooser() : FileChooser(PathForm::Windows) {}

    std::vector<ChooserRequest> requests;
    std::deque<Result<ChooserAnswer>> answers;

protected:
    Result<ChooserAnswer> showChooser(const ChooserRequest& request) override
    {
        requests.push_back(request);
        Result<ChooserAnswer> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

TEST(FileChooser, EveryShowingIsHandedThePropertiesAndOnlyASaveGetsTheExtension)
{
    ScriptedChooser chooser;
    chooser.SetInitDir("C:\\APP");
    chooser.SetDefaultExt("*.mdb");
    chooser.SetFilter("Databases|*.mdb|Odd one out");
    chooser.SetDialogTitle(" Export...");
    chooser.answers = {ChooserAnswer("C:\\APP\\saved"), ChooserAnswer("C:\\APP\\typed")};
    ASSERT_TRUE(chooser.ShowSave().ok());
    ASSERT_TRUE(chooser.ShowOpen().ok());

    ASSERT_EQ(chooser.requests.size(), 2u);
    const ChooserRequest& save = chooser.requests[0];
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.title, " Export...");
    EXPECT_EQ(save.initialFolder, "C:\\APP");
    EXPECT_EQ(save.fileTypes, (Types{{"Databases", {"*.mdb"}}}));
    EXPECT_EQ(save.initialName, "");
    const ChooserRequest& open = chooser.requests[1];
    EXPECT_FALSE(open.save);
    EXPECT_EQ(open.fileTypes, save.fileTypes);
    // The name as saved, with the extension it was given.
    EXPECT_EQ(open.initialName, "saved.mdb");
    EXPECT_EQ(chooser.FileName(), "C:\\APP\\typed");
}

TEST(FileChooser, ACancelFailsOnlyWithCancelErrorAndAFailedChooserKeepsTheName)
{
    ScriptedChooser chooser;
    chooser.answers = {ChooserAnswer("first.mdb"), ChooserAnswer(),
                       Result<ChooserAnswer>::failure(12291, "The file chooser failed."),
                       ChooserAnswer()};
    chooser.SetCancelError(true);
    ASSERT_TRUE(chooser.ShowOpen().ok());
    const Status cancelled = chooser.ShowOpen();
    ASSERT_FALSE(cancelled.ok());
    EXPECT_EQ(cancelled.error().number, CancelErrorNumber);
    EXPECT_EQ(chooser.FileName(), "first.mdb");

    chooser.SetCancelError(false);
    const Status failed = chooser.ShowSave();
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().number, 12291);
    EXPECT_EQ(chooser.FileName(), "first.mdb");
    EXPECT_TRUE(chooser.ShowSave().ok());
    EXPECT_EQ(chooser.FileName(), "");
}

} // namespace
} // namespace marlo
