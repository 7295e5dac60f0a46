// A program that imports a call of Windows 10 (1607), which Windows 7 lacks:
// the import check must refuse it.
#include "WinSystem.h"

int main()
{
    return static_cast<int>(GetDpiForWindow(GetDesktopWindow()));
}
