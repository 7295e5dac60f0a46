#include "DialogResetMem.h"
#include "MessagePump.h"
#include "WinPlatform.h"
#include "WinStart.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    marlo::prepareWindowsUi();
    marlo::WinPlatform platform("dbreset");
    marlo::DialogResetMem window(platform);
    window.show();
    marlo::runMessageLoop();
    return platform.exitStatus();
}
