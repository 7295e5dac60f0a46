#include "FileSystem.h"
#include "ImportWindow.h"
#include "ProgressCopyRunner.h"
#include "ProgressWindow.h"
#include "WinStart.h"
#include "WinWindowSystem.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    marlo::prepareWindowsUi();
    // The main program may be shown other files than those installed.
    const auto files = marlo::filesAsMainProgramSees(marlo::makeHostFileSystem());
    marlo::WinWindowSystem windows(*files, "dbtransfer");
    // A long export or import runs beside the window, which stays alive.
    marlo::ImportWindow window({*files, windows}, [](HWND w) {
        return std::make_unique<marlo::ProgressCopyRunner>(marlo::showInProgressWindow(w));
    });
    if (!window.hwnd())
        return marlo::reportNoWindow(window.creationError(), "dbtransfer");
    windows.setWindow(window.hwnd());
    window.show();
    return windows.run();
}
