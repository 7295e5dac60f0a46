#include "WindowIcons.h"

#include "ResourceIds.h"
#include "SystemDll.h"
#include "WinDesign.h"

#include <type_traits>
#include <utility>

namespace marlo {

IconCalls systemIconCalls()
{
    static const win32::SystemDll user32(L"user32.dll");
    // The common controls the program started with, version 6 by its
    // manifest: a search of the system folder could find another version.
    const HMODULE comctl32 = GetModuleHandleW(L"comctl32.dll");
    static const IconCalls calls{
        user32.find<std::remove_pointer_t<decltype(IconCalls::metricsForDpi)>>(
            "GetSystemMetricsForDpi"),
        comctl32
            ? reinterpret_cast<decltype(IconCalls::loadScaledDown)>(
                  reinterpret_cast<void (*)()>(GetProcAddress(comctl32, "LoadIconWithScaleDown")))
            : nullptr};
    return calls;
}

int iconSide(int metric, int dpi, const IconCalls& calls)
{
    if (calls.metricsForDpi)
        if (const int side = calls.metricsForDpi(metric, static_cast<UINT>(dpi)); side > 0)
            return side;
    return MulDiv(GetSystemMetrics(metric), dpi, screenDpi());
}

win32::UniqueIcon programIconAt(int side, const IconCalls& calls)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HICON icon = nullptr;
    if (calls.loadScaledDown && SUCCEEDED(calls.loadScaledDown(
                                    instance, MAKEINTRESOURCEW(ProgramIconId), side, side, &icon)))
        return win32::UniqueIcon(icon);
    return win32::UniqueIcon(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(ProgramIconId), IMAGE_ICON, side, side, 0)));
}

void WindowIcons::setForDpi(int dpi)
{
    const IconCalls calls = systemIconCalls();
    win32::UniqueIcon big = programIconAt(iconSide(SM_CXICON, dpi, calls), calls);
    win32::UniqueIcon little = programIconAt(iconSide(SM_CXSMICON, dpi, calls), calls);
    // The window draws with the new icons before the old ones go.
    if (big)
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    if (little)
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little.get()));
    if (big)
        big_ = std::move(big);
    if (little)
        little_ = std::move(little);
}

} // namespace marlo
