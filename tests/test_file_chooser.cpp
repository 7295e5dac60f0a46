// The file chooser's rules, which every toolkit's chooser shares: the file
// types of a filter, the default extension, and what a showing hands the
// toolkit and leaves behind.
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

// A chooser whose toolkit is a script: it keeps every request and answers
// each showing with the next entry.
class ScriptedChooser : public FileChooser {
public:
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

TEST(FileChooser, EveryShowingIsHandedThePropertiesAndOnlyASaveTheExtension)
{
    ScriptedChooser chooser;
    chooser.SetInitDir("C:\\APP");
    chooser.SetDefaultExt("*.mdb");
    chooser.SetFilter("Databases|*.mdb|Odd one out");
    chooser.SetDialogTitle(" Export...");
    chooser.answers = {ChooserAnswer("C:\\APP\\saved.mdb"), ChooserAnswer("C:\\APP\\typed")};
    ASSERT_TRUE(chooser.ShowSave().ok());
    ASSERT_TRUE(chooser.ShowOpen().ok());

    ASSERT_EQ(chooser.requests.size(), 2u);
    const ChooserRequest& save = chooser.requests[0];
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.title, " Export...");
    EXPECT_EQ(save.initialFolder, "C:\\APP");
    EXPECT_EQ(save.fileTypes, (Types{{"Databases", {"*.mdb"}}}));
    EXPECT_EQ(save.defaultExtension, "mdb");
    EXPECT_EQ(save.lastName, "");
    const ChooserRequest& open = chooser.requests[1];
    EXPECT_FALSE(open.save);
    EXPECT_EQ(open.fileTypes, save.fileTypes);
    EXPECT_EQ(open.defaultExtension, "");
    EXPECT_EQ(open.lastName, "C:\\APP\\saved.mdb");
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
