#include "WinStart.h"

#include "WinSystem.h"

#include <commctrl.h>

namespace marlo {

void prepareWindowsUi()
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
}

} // namespace marlo
