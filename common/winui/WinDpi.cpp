#include "WinDpi.h"

#include "WinDesign.h"

namespace marlo {

namespace {

// A function of user32 that older systems lack, or null.
template <class Function> Function fromUser32(const char* name)
{
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    // FARPROC is the system's untyped function pointer: the real type is the
    // documented one, reached through the one type that GCC lets cast to any.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

} // namespace

int windowDpi(HWND window)
{
    static const auto getDpiForWindow = fromUser32<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window); dpi > 0)
            return static_cast<int>(dpi);
    return screenDpi();
}

SIZE frameForClient(HWND window, int width, int height, int dpi)
{
    static const auto adjustForDpi =
        fromUser32<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT frame{0, 0, width, height};
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

} // namespace marlo
