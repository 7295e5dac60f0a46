// What the windows ask of the system for the screens they show on: the
// monitor they open on, their icons at each scale.
#include "StartMonitor.h"
#include "WinDesign.h"
#include "WinUiDrive.h"
#include "WindowIcons.h"

#include <set>

namespace marlo::test {
namespace {

// A primary monitor, a larger one to its right and a smaller one at its
// left, lower down: a gap under the left one.
const RECT Primary{0, 0, 1920, 1080}, Right{1920, 0, 4480, 1440}, Left{-1280, 200, 0, 1224};
const std::vector<RECT> Monitors{Primary, Right, Left};

TEST(WinStartMonitor, OpensWhereTheForegroundWindowStandsMostElseUnderTheCursor)
{
    // A folder window mostly on the right monitor, the cursor on the left.
    EXPECT_EQ(startMonitor(Monitors, RECT{1500, 100, 2500, 700}, POINT{-500, 500}), 1u);
    EXPECT_EQ(startMonitor(Monitors, RECT{-900, 300, 100, 900}, POINT{3000, 500}), 2u);
    // No foreground window, or one off every monitor: the cursor's.
    EXPECT_EQ(startMonitor(Monitors, std::nullopt, POINT{-500, 500}), 2u);
    EXPECT_EQ(startMonitor(Monitors, RECT{-32000, -32000, -31840, -31970}, POINT{4000, 1300}), 1u);
    // The desktop's window, over every monitor: the cursor's.
    EXPECT_EQ(startMonitor(Monitors, RECT{-1280, 0, 4480, 1440}, POINT{-500, 500}), 2u);
    // Neither tells: left to the caller, which takes the primary.
    EXPECT_EQ(startMonitor(Monitors, std::nullopt, POINT{-500, 1300}), std::nullopt);
    EXPECT_EQ(startMonitor(Monitors, std::nullopt, std::nullopt), std::nullopt);
    EXPECT_EQ(startMonitor({}, RECT{0, 0, 10, 10}, POINT{1, 1}), std::nullopt);
}

// The sizes of the icon group that `program` carries, 256 for the byte 0.
std::set<int> iconSizesIn(const std::wstring& program)
{
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    std::set<int> sizes;
    if (!module)
        return sizes;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    const auto* group =
        found ? static_cast<const BYTE*>(LockResource(LoadResource(module, found))) : nullptr;
    // The directory: 6 bytes of head, its count at 4; 14 bytes per entry,
    // its width first.
    const std::size_t count = group ? group[4] | group[5] << 8 : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const BYTE width = group[6 + 14 * i], height = group[6 + 14 * i + 1];
        EXPECT_EQ(width, height);
        sizes.insert(width ? width : 256);
    }
    FreeLibrary(module);
    return sizes;
}

TEST(WinProgramIcon, BothProgramsCarryEverySizeWindowsShowsAtTheUsualScales)
{
    const std::set<int> sizes{16, 20, 24, 32, 40, 48, 64, 256};
    EXPECT_EQ(iconSizesIn(besideTest(L"dbreset.exe")), sizes);
    EXPECT_EQ(iconSizesIn(besideTest(L"dbtransfer.exe")), sizes);
}

// With and without the calls that newer systems have: the icon sizes at
// 150 % are those of 100 % by half again, and the icon loaded at a size is
// that size, whether the resource has it or not.
TEST(WinProgramIcon, IsLoadedAtTheSizeOfTheWindowsScaleWithOrWithoutTheNewerCalls)
{
    const int dpi = screenDpi(), larger = dpi * 3 / 2;
    for (const IconCalls& calls : {systemIconCalls(), IconCalls{}}) {
        EXPECT_EQ(iconSide(SM_CXICON, dpi, calls), GetSystemMetrics(SM_CXICON));
        EXPECT_EQ(iconSide(SM_CXICON, larger, calls), GetSystemMetrics(SM_CXICON) * 3 / 2);
        EXPECT_EQ(iconSide(SM_CXSMICON, larger, calls), GetSystemMetrics(SM_CXSMICON) * 3 / 2);
        for (const int side : {24, 30, 48})
            EXPECT_EQ(iconSideOf(programIconAt(side, calls).get()), side) << side;
    }
}

} // namespace
} // namespace marlo::test
