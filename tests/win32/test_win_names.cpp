// Names exactly as they are written: a trailing dot or space belongs to a
// listed name (Samba and WSL make such names), and a new name the user
// types means what the system makes of it.
#include "TransferOnDisk.h"
#include "TransferTexts.h"
#include "WinFilesTest.h"
#include "WinPaths.h"
#include "WinText.h"

#include <gtest/gtest.h>

#include "WinSystem.h"

#include <algorithm>
#include <iostream>

using namespace marlo;
using test::Names;
using test::WinFiles;

namespace {

// A file under exactly the name written, where the system keeps it, removed
// when this goes: the test folder's own removal trims the name and never
// finds it.
struct ExactFile {
    explicit ExactFile(const std::string& path) : path(L"\\\\?\\" + win32::widen(path))
    {
        const HANDLE file = ::CreateFileW(this->path.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        made = file != INVALID_HANDLE_VALUE;
        if (made)
            ::CloseHandle(file);
    }
    ~ExactFile() { ::DeleteFileW(path.c_str()); }
    std::wstring path;
    bool made = false;
};

} // namespace

TEST(WinPaths, ThePathBuiltKeepsEveryNameAsWritten)
{
    wchar_t current[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, current);
    std::string here = win32::narrow(current);
    const struct {
        std::string written, built;
    } cases[] = {
        {"C:\\app\\MARLOCON.MDB.", "\\\\?\\C:\\app\\MARLOCON.MDB."},
        {"C:/app//old. /x ", "\\\\?\\C:\\app\\old. \\x "},
        {"C:\\app\\sub\\..\\.\\x.", "\\\\?\\C:\\app\\x."},
        {"C:\\..\\x.", "\\\\?\\C:\\x."},
        {"C:\\", "\\\\?\\C:\\"},
        {"\\\\server\\share\\x. ", "\\\\?\\UNC\\server\\share\\x. "},
        {"\\\\?\\C:\\app\\..\\x.", "\\\\?\\C:\\app\\..\\x."},
        {"x.", "\\\\?\\" + here + (here.ends_with('\\') ? "" : "\\") + "x."},
        {"\\x.", "\\\\?\\" + here.substr(0, 3) + "x."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(win32::narrow(win32::systemPath(c.written)), c.built) << c.written;
}

TEST_F(WinFiles, ANewNameIsTakenAsTheSystemTakesItAndAnExistingOneAsWritten)
{
    dir.write("MARLOcon.mdb", "live");
    const ExactFile listed(dir / "listed.");
    const struct {
        std::string chosen, taken;
    } cases[] = {
        {"backup.", "backup"},
        {"backup . ", "backup"},
        {"MARLOcon.mdb", "MARLOcon.mdb"},
        {"MARLOcon.mdb.", "MARLOcon.mdb"},
        {"NUL.", "NUL"},
        {"gone.\\x.", "gone\\x"},
        {"listed.", listed.made ? "listed." : "listed"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(files->ChosenPath(dir / c.chosen), dir / c.taken) << c.chosen;
    // The device stays a device under the name taken.
    EXPECT_FALSE(files->FileExists(test::chosenPath(files->ChosenPath(dir / "NUL."))).value());
}

TEST_F(WinFiles, AListedNameWithATrailingDotIsNeverTheFileWithoutIt)
{
    dir.write("MARLOcon.mdb", "live");
    const ExactFile listed(dir / "MARLOcon.mdb."), copy(dir / "copy.");
    if (!listed.made) {
        std::cout << "  this system keeps no name with a trailing dot: only the paths built "
                     "are checked (WinPaths)\n";
        GTEST_SKIP();
    }
    EXPECT_TRUE(files->FileExists(test::chosenPath(dir / "MARLOcon.mdb.")).value());
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "live");
    // Written and read under the exact name.
    ASSERT_TRUE(copyFile(*files, dir.chosen("MARLOcon.mdb"), test::chosenPath(dir / "copy.")).ok());
    ASSERT_TRUE(copyFile(*files, test::chosenPath(dir / "copy."), dir.chosen("read")).ok());
    EXPECT_EQ(dir.read("read"), "live");

    test::TransferOnDisk transfer(dir.path());
    EXPECT_FALSE(transfer.remove(dir / "MARLOcon.mdb."));
    EXPECT_FALSE(transfer.remove(dir / "copy."));
    EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "read"}));
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "live");
}

TEST_F(WinFiles, ANewNameTypedWithATrailingDotIsTestedAskedAndWrittenAsOneName)
{
    dir.write("MARLOcon.mdb", "live");
    dir.write("backup", "old");
    test::TransferOnDisk transfer(dir.path());
    EXPECT_FALSE(transfer.exportTo(Database::Con, dir / "backup."));
    const std::vector<std::string>& calls = transfer.platform.calls;
    const auto seen = [&](const std::string& start) {
        return std::ranges::any_of(calls,
                                   [&](const std::string& l) { return l.starts_with(start); });
    };
    EXPECT_TRUE(seen("FileExists " + (dir / "backup")));
    EXPECT_TRUE(seen("MsgBox [MARLO-Corvane:] 3 \"" + std::string(texts::OverwriteQuestion)));
    EXPECT_TRUE(seen("StageCopy " + (dir / "MARLOcon.mdb") + " -> " + (dir / "backup")));
    EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "backup"}));
    EXPECT_EQ(dir.read("backup"), "live");
}
