#include "DialogResetMem.h"
#include "FileSystem.h"
#include "WinStart.h"
#include "WinWindowSystem.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    marlo::prepareWindowsUi();
    // The main program may be shown other files than those installed.
    const auto files = marlo::filesAsMainProgramSees(marlo::makeHostFileSystem());
    marlo::WinWindowSystem windows(*files, "dbreset");
    marlo::DialogResetMem window({*files, windows});
    if (!window.hwnd())
        return marlo::reportNoWindow(window.creationError(), "dbreset");
    windows.setWindow(window.hwnd());
    window.show();
    return windows.run();
}
