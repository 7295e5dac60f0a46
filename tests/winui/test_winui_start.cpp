// The start of the main program: one that must run with administrator rights
// too, through the shell, which asks the user for them. Wine runs such a
// program elevated without asking, so the ordinary start is not refused here
// and the shell's start is driven directly.
#include "ProgramStart.h"
#include "WinText.h"
#include "WinUiDrive.h"

#include <atomic>
#include <thread>

namespace marlo::test {
namespace {

using Start = Result<int> (*)(const std::string&, int, const std::string&);

// Runs `start`; answers whether a box of this process showed meanwhile (each
// is closed, so that a start that waits on one comes back).
bool showedABox(const std::function<void()>& start)
{
    std::atomic<bool> done = false, shown = false;
    std::jthread watch([&] {
        while (!done) {
            EnumWindows(
                [](HWND window, LPARAM seen) -> BOOL {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if (owner == GetCurrentProcessId() && classOf(window) == L"#32770") {
                        *reinterpret_cast<std::atomic<bool>*>(seen) = true;
                        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&shown));
            Sleep(20);
        }
    });
    start();
    done = true;
    return shown;
}

TEST(WinProgramStart, StartsAProgramThatAsksForAdministratorRightsInTheFolderGiven)
{
    struct Way {
        const char* name;
        Start start;
        const wchar_t* program;
    };
    for (const Way way : {Way{"ordinary", startProgram, L"marlo_standin.exe"},
                          Way{"ordinary", startProgram, L"marlo_standin_admin.exe"},
                          Way{"shell", startThroughShell, L"marlo_standin.exe"},
                          Way{"shell", startThroughShell, L"marlo_standin_admin.exe"}}) {
        SCOPED_TRACE(std::string(way.name) + " " + win32::narrow(way.program));
        AppFolder programFolder, workingFolder;
        programFolder.copyIn(besideTest(way.program), "MARLOCON.EXE");
        const Result<int> started =
            way.start(programFolder / "MARLOCON.EXE", SW_SHOWNORMAL, workingFolder.str());
        ASSERT_TRUE(started.ok());
        EXPECT_GT(started.value(), 0);
        ASSERT_TRUE(waitUntil([&] { return programFolder.has("started.txt"); }));
        const std::string worksIn = programFolder.read("started.txt");
        EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(worksIn.data()),
                               worksIn.size() / sizeof(wchar_t)),
                  win32::widen(workingFolder.str()));
    }
}

TEST(WinProgramStart, AProgramThatIsNotThereFailsWithoutABox)
{
    for (const Start start : {startProgram, startThroughShell}) {
        AppFolder folder;
        Result<int> started = 0;
        EXPECT_FALSE(showedABox(
            [&] { started = start(folder / "MARLOCON.EXE", SW_SHOWNORMAL, folder.str()); }));
        ASSERT_FALSE(started.ok());
        EXPECT_EQ(started.error().number, 53);
    }
}

} // namespace
} // namespace marlo::test
