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

std::wstring exact(const std::string& path)
{
    return L"\\\\?\\" + win32::widen(path);
}

// The test folder's own removal goes through paths that the system
// normalises, which never reach a name with a trailing dot: such names go
// first.
struct ExactNames {
    std::vector<std::string> paths;
    ~ExactNames()
    {
        for (const std::string& path : paths)
            ::DeleteFileW(exact(path).c_str());
    }
};

// Writes a file under exactly `path`; false where the system keeps no such
// name.
bool writeExactly(const std::string& path, const std::string& content, ExactNames& made)
{
    made.paths.push_back(path);
    HANDLE file = ::CreateFileW(exact(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
    WIN32_FIND_DATAW found;
    HANDLE listing = ::FindFirstFileW(exact(path).c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(listing);
    return win32::narrow(found.cFileName) == path.substr(path.find_last_of('\\') + 1);
}

std::string readExactly(const std::string& path)
{
    HANDLE file = ::CreateFileW(exact(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<none>";
    char buffer[256];
    DWORD got = 0;
    ::ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    ::CloseHandle(file);
    return std::string(buffer, got);
}

std::string currentFolder()
{
    wchar_t folder[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    return win32::narrow(folder);
}

} // namespace

TEST(WinPaths, ThePathBuiltKeepsEveryNameAsWritten)
{
    const std::string here = currentFolder();
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
    ExactNames made;
    const bool keepsDots = writeExactly(dir / "listed.", "listed", made);
    const struct {
        std::string chosen, taken;
    } cases[] = {
        {"backup.", "backup"},
        {"backup . ", "backup"},
        {"MARLOcon.mdb", "MARLOcon.mdb"},
        {"MARLOcon.mdb.", "MARLOcon.mdb"},
        {"NUL.", "NUL"},
        {"gone.\\x.", "gone\\x"},
        {"listed.", keepsDots ? "listed." : "listed"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(files->ChosenPath(dir / c.chosen), dir / c.taken) << c.chosen;
    // The device stays a device under the name taken.
    EXPECT_FALSE(files->FileExists(test::chosenPath(files->ChosenPath(dir / "NUL."))).value());
}

TEST_F(WinFiles, AListedNameWithATrailingDotIsNeverTheFileWithoutIt)
{
    dir.write("MARLOcon.mdb", "live");
    ExactNames made{{dir / "copy."}};
    if (!writeExactly(dir / "MARLOcon.mdb.", "listed", made)) {
        std::cout << "  this system keeps no name with a trailing dot: only the paths built "
                     "are checked (WinPaths)\n";
        GTEST_SKIP();
    }
    const FilePath listed = test::chosenPath(dir / "MARLOcon.mdb.");
    EXPECT_TRUE(files->FileExists(listed).value());
    ASSERT_TRUE(copyFile(*files, dir.chosen("MARLOcon.mdb"), test::chosenPath(dir / "copy.")).ok());
    EXPECT_EQ(readExactly(dir / "copy."), "live");
    ASSERT_TRUE(copyFile(*files, listed, test::chosenPath(dir / "copy.")).ok());
    EXPECT_EQ(readExactly(dir / "copy."), "listed");

    test::TransferOnDisk transfer(dir.path());
    EXPECT_FALSE(transfer.remove(dir / "MARLOcon.mdb."));
    EXPECT_FALSE(transfer.remove(dir / "copy."));
    EXPECT_EQ(dir.names(), Names{"MARLOcon.mdb"});
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "live");
}

TEST_F(WinFiles, ANewNameTypedWithATrailingDotIsTestedAskedAndWrittenAsOneName)
{
    dir.write("MARLOcon.mdb", "live");
    dir.write("backup", "old");
    test::TransferOnDisk transfer(dir.path());
    EXPECT_FALSE(transfer.exportTo(Database::Con, dir / "backup."));
    const std::vector<std::string>& calls = transfer.platform.calls;
    const auto recorded = [&](const std::string& line) {
        return std::ranges::find(calls, line) != calls.end();
    };
    EXPECT_TRUE(recorded("FileExists " + (dir / "backup")));
    EXPECT_TRUE(std::ranges::any_of(calls, [](const std::string& line) {
        return line.starts_with("MsgBox") &&
               line.find(texts::OverwriteQuestion) != std::string::npos;
    })) << "the overwrite question for the file that is there";
    EXPECT_TRUE(recorded("StageCopy " + (dir / "MARLOcon.mdb") + " -> " + (dir / "backup")));
    EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "backup"}));
    EXPECT_EQ(dir.read("backup"), "live");
}
