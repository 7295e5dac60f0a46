// The start of the main program, also of one that must run as administrator.
// Wine runs such a program elevated without asking, so the ordinary start is
// not refused here, and the shell's start, which asks, is driven directly.
#include "ProgramStart.h"
#include "WinUiDrive.h"

namespace marlo::test {
namespace {

using Start = Result<int> (*)(const std::string&, int, const std::string&);

TEST(WinProgramStart, StartsAProgramThatAsksForAdministratorRightsInTheFolderGiven)
{
    for (const Start start : {startProgram, startThroughShell})
        for (const wchar_t* program : {L"marlo_standin.exe", L"marlo_standin_admin.exe"}) {
            AppFolder programFolder, workingFolder;
            programFolder.copyIn(besideTest(program), "MARLOCON.EXE");
            const Result<int> started =
                start(programFolder / "MARLOCON.EXE", SW_SHOWNORMAL, workingFolder.str());
            ASSERT_TRUE(started.ok()) << win32::narrow(program);
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
        // A box shown meanwhile is seen, and closed so that the start returns.
        std::atomic<bool> done = false, shown = false;
        std::jthread watch([&] {
            while (!done) {
                if (HWND box = FindWindowW(L"#32770", nullptr)) {
                    shown = true;
                    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                }
                Sleep(20);
            }
        });
        AppFolder folder;
        const Result<int> started = start(folder / "MARLOCON.EXE", SW_SHOWNORMAL, folder.str());
        done = true;
        EXPECT_FALSE(shown);
        ASSERT_FALSE(started.ok());
        EXPECT_EQ(started.error().number, 53);
    }
}

} // namespace
} // namespace marlo::test
