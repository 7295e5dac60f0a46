#include "WinDpi.h"

#include "SystemDll.h"
#include "WinDesign.h"

namespace marlo {

namespace {

// The functions of user32 that older systems lack are looked up by name.
const win32::SystemDll& user32()
{
    static const win32::SystemDll dll(L"user32.dll");
    return dll;
}

using GetDpiForWindowFunction = UINT WINAPI(HWND);
using AdjustWindowRectExForDpiFunction = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);

} // namespace

int windowDpi(HWND window)
{
    static const auto getDpiForWindow = user32().find<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window); dpi > 0)
            return static_cast<int>(dpi);
    return screenDpi();
}

SIZE frameForClient(HWND window, int width, int height, int dpi)
{
    static const auto adjustForDpi =
        user32().find<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT frame{0, 0, width, height};
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

} // namespace marlo
