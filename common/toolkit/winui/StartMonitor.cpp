#include "StartMonitor.h"

#include <algorithm>
#include <vector>

namespace marlo {

namespace {

long long overlap(const RECT& a, const RECT& b)
{
    RECT common{};
    if (!IntersectRect(&common, &a, &b))
        return 0;
    return static_cast<long long>(common.right - common.left) * (common.bottom - common.top);
}

// The window the user worked in, unless it tells no monitor: none, hidden,
// minimized (parked off every screen) or the desktop's.
std::optional<RECT> foregroundRect()
{
    HWND window = GetForegroundWindow();
    RECT r{};
    if (!window || !IsWindowVisible(window) || IsIconic(window) || window == GetShellWindow() ||
        window == GetDesktopWindow() || !GetWindowRect(window, &r))
        return std::nullopt;
    return r;
}

struct Monitors {
    std::vector<HMONITOR> handles;
    std::vector<RECT> rects;
};

// A named function, not a lambda: 32-bit Windows calls it with the system's
// own calling convention, which a lambda's conversion does not give.
BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, RECT* rect, LPARAM data)
{
    auto& into = *reinterpret_cast<Monitors*>(data);
    into.handles.push_back(monitor);
    into.rects.push_back(*rect);
    return TRUE;
}

HMONITOR monitorToOpenOn()
{
    Monitors found;
    EnumDisplayMonitors(nullptr, nullptr, &addMonitor, reinterpret_cast<LPARAM>(&found));
    POINT cursor{};
    const std::optional<std::size_t> chosen =
        startMonitor(found.rects, foregroundRect(),
                     GetCursorPos(&cursor) ? std::optional(cursor) : std::nullopt);
    return chosen ? found.handles[*chosen] : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

} // namespace

std::optional<std::size_t> startMonitor(std::span<const RECT> monitors,
                                        const std::optional<RECT>& foreground,
                                        const std::optional<POINT>& cursor)
{
    // A window over more than one whole monitor is the desktop's own (the
    // desktop icons a program was started from), which tells none.
    const auto whole = [&](const RECT& monitor) {
        return overlap(monitor, *foreground) == overlap(monitor, monitor);
    };
    const bool telling = foreground && std::ranges::count_if(monitors, whole) < 2;
    std::optional<std::size_t> best;
    long long bestOverlap = 0;
    for (std::size_t i = 0; telling && i < monitors.size(); ++i)
        if (const long long shown = overlap(monitors[i], *foreground); shown > bestOverlap) {
            best = i;
            bestOverlap = shown;
        }
    for (std::size_t i = 0; !best && cursor && i < monitors.size(); ++i)
        if (PtInRect(&monitors[i], *cursor))
            best = i;
    return best;
}

RECT openingRect(HWND owner)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST) : monitorToOpenOn(),
                    &info);
    const RECT& work = info.rcWork;
    const POINT centre{(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    return {centre.x - 1, centre.y - 1, centre.x + 1, centre.y + 1};
}

} // namespace marlo
