#include "ImportWindow.h"
#include "MessagePump.h"
#include "ProgressCopyRunner.h"
#include "WinPlatform.h"
#include "WinStart.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    marlo::prepareWindowsUi();
    marlo::WinPlatform platform("dbtransfer");
    // A long export or import runs beside the window, which stays alive.
    marlo::ImportWindow window(
        platform, [](HWND w) { return std::make_unique<marlo::ProgressCopyRunner>(w); });
    window.show();
    marlo::runMessageLoop();
    return platform.exitStatus();
}
