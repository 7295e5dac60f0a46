#include "WinStart.h"

#include "SessionEndSteps.h"
#include "SystemWords.h"
#include "WinText.h"

#include <commctrl.h>

namespace marlo {

void prepareWindowsUi()
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
    endProcessWithSession();
}

int reportNoWindow(DWORD error, const std::string& applicationTitle)
{
    MessageBoxW(nullptr, win32::widen(win32::systemWords(error)).c_str(),
                win32::widen(applicationTitle).c_str(),
                MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    return 1;
}

} // namespace marlo
