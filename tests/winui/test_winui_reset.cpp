// The reset window on the Windows API: its start state in this process,
// and the real dbreset.exe in a folder of its own for what only a whole
// program shows (its exit status, the main program it starts).
#include "ColouredButton.h"
#include "DialogResetMem.h"
#include "ResetWindowDesign.h"
#include "WinDesign.h"
#include "WinStart.h"
#include "WinUiDrive.h"
#include "WinWindowSystem.h"
#include "WindowColours.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

namespace marlo::test {
namespace {

const std::wstring Caption = L"MARLO-Corvane:  Reset Database files ?";

// The window side, which counts beeps.
class TestPlatform : public WinWindowSystem {
public:
    explicit TestPlatform(FileSystem& files) : WinWindowSystem(files, "dbreset") {}
    void Beep() override { ++beeps; }
    int beeps = 0;
};

RECT twipRect(int left, int top, int width, int height, int dpi = screenDpi())
{
    return rectFromTwips({left, top, width, height}, dpi);
}

void expectPlace(HWND control, const RECT& expected)
{
    const RECT r = placeOf(control);
    EXPECT_EQ(r.left, expected.left) << win32::narrow(textOf(control));
    EXPECT_EQ(r.top, expected.top) << win32::narrow(textOf(control));
    EXPECT_EQ(r.right, expected.right) << win32::narrow(textOf(control));
    EXPECT_EQ(r.bottom, expected.bottom) << win32::narrow(textOf(control));
}

LOGFONTW fontOf(HWND control)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
}

int fontHeight(double points, int dpi = screenDpi())
{
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

constexpr COLORREF LightRed = RGB(255, 128, 128);

// The window over an empty application folder of its own.
struct ResetWindowOnFolder {
    bool prepared = (prepareWindowsUi(), true); // before the window is made
    AppFolder folder;
    std::unique_ptr<FileSystem> files = makeHostFileSystem([this] { return folder.str(); });
    TestPlatform platform{*files};
    DialogResetMem window{{*files, platform}};
    bool registered = (platform.setWindow(window.hwnd()), true);
};

TEST(WinResetWindow, StartsInItsWarningStateWithTheDesignValues)
{
    ResetWindowOnFolder on;
    TestPlatform& platform = on.platform;
    DialogResetMem& window = on.window;
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_FALSE(IsWindowVisible(window.hwnd())) << "beeps while it loads, before it shows";
    window.show();
    HWND w = window.hwnd();

    EXPECT_EQ(textOf(w), Caption);
    const auto style = GetWindowLongPtrW(w, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT client{};
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, pixelsFromTwips(7770, screenDpi()));
    EXPECT_EQ(client.bottom, pixelsFromTwips(3195, screenDpi()));

    HWND resetNow = childWithText(w, L"RESET NOW !");
    HWND cancel = childWithText(w, L"Cancel");
    HWND caution = childWithText(w, L"CAUTION !");
    HWND resetting = childWithText(w, L"Resetting Database files...");
    HWND notice =
        childWithText(w, L"Backup files will be generated:  MARLOMDB.BAK and MARLOSPM.BAK");
    HWND bar = childOfClass(w, PROGRESS_CLASSW);
    ASSERT_TRUE(resetNow && cancel && caution && resetting && notice && bar);
    expectPlace(resetNow, twipRect(4050, 2685, 2100, 375));
    expectPlace(cancel, twipRect(1485, 2685, 2100, 375));
    expectPlace(caution, twipRect(705, 120, 6285, 540));
    expectPlace(bar, twipRect(405, 945, 7020, 525));

    EXPECT_TRUE(IsWindowVisible(caution));
    EXPECT_FALSE(IsWindowVisible(resetting) || IsWindowVisible(notice) || IsWindowVisible(bar));
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);

    EXPECT_STREQ(fontOf(caution).lfFaceName, L"Arial Black");
    EXPECT_EQ(fontOf(caution).lfHeight, fontHeight(20.25));
    EXPECT_STREQ(fontOf(resetNow).lfFaceName, L"Arial");
    EXPECT_EQ(fontOf(resetNow).lfHeight, fontHeight(9.75));

    // Buttons and the bar lie above every label; Tab moves between the
    // two buttons only, starting on "RESET NOW !".
    const std::vector<HWND> stack = childrenOf(w);
    const auto depth = [&](HWND c) {
        return std::find(stack.begin(), stack.end(), c) - stack.begin();
    };
    EXPECT_LT(depth(bar), depth(caution));
    EXPECT_LT(depth(cancel), depth(childWithText(w, win32::widen(resetwindow::WarningText))));
    EXPECT_EQ(GetFocus(), resetNow);
    EXPECT_EQ(GetNextDlgTabItem(w, resetNow, FALSE), cancel);
    EXPECT_EQ(GetNextDlgTabItem(w, cancel, FALSE), resetNow);

    // The window, its labels and its buttons in the light red.
    HDC dc = GetDC(w);
    EXPECT_EQ(GetPixel(dc, 3, client.bottom - 3), LightRed);
    const RECT b = placeOf(cancel);
    EXPECT_EQ(GetPixel(dc, b.left + 6, b.top + 4), LightRed);
    ReleaseDC(w, dc);

    // Escape and the close box are the only keys left: Escape does nothing.
    const std::optional<int> quit = driveWhileRunning([&] {
        PostMessageW(resetNow, WM_KEYDOWN, VK_ESCAPE, 0);
        std::this_thread::sleep_for(200ms);
    });
    EXPECT_FALSE(quit);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(platform.beeps, 1);
}

// The reset sets its values between pauses that pump no messages: each must
// be on the screen as it is set, the last one too, and the range stay as is.
TEST(WinResetWindow, TheBarShowsEachValueAsItIsSetWithoutAPump)
{
    ResetWindowOnFolder on;
    on.window.show();
    HWND bar = childOfClass(on.window.hwnd(), PROGRESS_CLASSW);
    ASSERT_TRUE(bar);
    on.window.showResetting();
    UpdateWindow(on.window.hwnd());
    PBRANGE range{};
    SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    RECT r{};
    GetClientRect(bar, &r);
    HDC dc = GetDC(bar);
    const auto at = [&](int percent) {
        return GetPixel(dc, r.right * percent / 100, r.bottom / 2);
    };
    const COLORREF empty = at(25);
    on.window.setProgress((range.iLow + range.iHigh) / 2);
    EXPECT_NE(at(25), empty);
    EXPECT_EQ(at(75), empty);
    on.window.setProgress(range.iHigh);
    EXPECT_NE(at(95), empty);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), range.iHigh);
    PBRANGE after{};
    SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&after));
    EXPECT_EQ(after.iLow, range.iLow);
    EXPECT_EQ(after.iHigh, range.iHigh);
    on.window.setProgress(range.iLow);
    EXPECT_EQ(at(25), empty);
    ReleaseDC(bar, dc);
}

TEST(WinResetWindow, LaysItselfOutAgainAtTheScaleOfANewMonitorAroundItsCentre)
{
    ResetWindowOnFolder on;
    DialogResetMem& window = on.window;
    window.show();
    HWND w = window.hwnd();
    const int dpi = screenDpi(), larger = dpi * 3 / 2;
    const POINT centre = centreOf(w);

    changeDpi(w, dpi, larger);
    RECT client{};
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, pixelsFromTwips(7770, larger));
    EXPECT_EQ(client.bottom, pixelsFromTwips(3195, larger));
    EXPECT_NEAR(centreOf(w).x, centre.x, 1);
    EXPECT_NEAR(centreOf(w).y, centre.y, 1);
    HWND resetNow = childWithText(w, L"RESET NOW !");
    HWND caution = childWithText(w, L"CAUTION !");
    HWND notice =
        childWithText(w, L"Backup files will be generated:  MARLOMDB.BAK and MARLOSPM.BAK");
    HWND bar = childOfClass(w, PROGRESS_CLASSW);
    ASSERT_TRUE(resetNow && caution && notice && bar);
    expectPlace(resetNow, twipRect(4050, 2685, 2100, 375, larger));
    expectPlace(caution, twipRect(705, 120, 6285, 540, larger));
    expectPlace(notice, twipRect(705, 1575, 6375, 840, larger));
    expectPlace(bar, twipRect(405, 945, 7020, 525, larger));
    // The controls hold the new fonts, alive.
    EXPECT_EQ(fontOf(caution).lfHeight, fontHeight(20.25, larger));
    EXPECT_EQ(fontOf(notice).lfHeight, fontHeight(14.25, larger));
    EXPECT_EQ(fontOf(resetNow).lfHeight, fontHeight(9.75, larger));

    // New system colours: the window takes its brush anew, still light red
    // without a high-contrast theme, and the focused button shows its
    // focus rectangle before any key was pressed.
    SendMessageW(w, WM_SYSCOLORCHANGE, 0, 0);
    UpdateWindow(w);
    HDC dc = GetDC(w);
    EXPECT_EQ(GetPixel(dc, 3, client.bottom - 3), LightRed);
    const RECT b = placeOf(resetNow);
    bool dotted = false;
    for (int x = b.left + 6; x < b.right - 6; ++x)
        dotted = dotted || GetPixel(dc, x, b.top + 5) != LightRed;
    EXPECT_TRUE(dotted);
    ReleaseDC(w, dc);
}

// Dragged onto a monitor of another scale, the window tells its size there
// beforehand, so that the system suggests the rectangle that keeps the
// cursor where it holds the caption, and the window takes that rectangle.
// (Wine draws the frame at the system's scale whatever the window's, so the
// client area is made up around that rectangle's centre here.)
TEST(WinResetWindow, AnswersItsSizeAtANewScaleAndTakesTheSuggestedRectangle)
{
    ResetWindowOnFolder on;
    on.window.show();
    HWND w = on.window.hwnd();
    const int dpi = screenDpi(), larger = dpi * 3 / 2;
    const auto sizeAt = [&](int at) {
        SIZE size{};
        EXPECT_TRUE(SendMessageW(w, WM_GETDPISCALEDSIZE, static_cast<WPARAM>(at),
                                 reinterpret_cast<LPARAM>(&size)));
        return size;
    };
    RECT before{};
    GetWindowRect(w, &before);
    const SIZE now = sizeAt(dpi), there = sizeAt(larger);
    EXPECT_EQ(now.cx, before.right - before.left);
    EXPECT_EQ(now.cy, before.bottom - before.top);
    EXPECT_GT(there.cx, now.cx);
    EXPECT_GT(there.cy, now.cy);

    RECT suggested{before.left + 40, before.top + 10, before.left + 40 + there.cx,
                   before.top + 10 + there.cy};
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(larger, larger),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT client{};
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, pixelsFromTwips(7770, larger));
    EXPECT_EQ(client.bottom, pixelsFromTwips(3195, larger));
    EXPECT_NEAR(centreOf(w).x, (suggested.left + suggested.right) / 2, 1);
    EXPECT_NEAR(centreOf(w).y, (suggested.top + suggested.bottom) / 2, 1);
    // Its icons drawn anew for the new scale, not stretched.
    const auto iconSide = [&](WPARAM which) {
        return iconSideOf(reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, which, 0)));
    };
    EXPECT_EQ(iconSide(ICON_BIG), MulDiv(GetSystemMetrics(SM_CXICON), larger, dpi));
    EXPECT_EQ(iconSide(ICON_SMALL), MulDiv(GetSystemMetrics(SM_CXSMICON), larger, dpi));
}

TEST(WinResetWindow, UnderAHighContrastThemeItsButtonsPaintInTheSystemsColours)
{
    // Wine refuses SPI_SETHIGHCONTRAST, so the palette a high-contrast theme
    // gives is painted on a real button directly.
    const Palette contrast = paletteFor({LightRed, RGB(128, 128, 128)}, true);
    EXPECT_EQ(contrast.face, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(contrast.text, GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(contrast.disabledText, GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(paletteFor({LightRed, RGB(128, 128, 128)}, false).face, LightRed);

    ResetWindowOnFolder on;
    DialogResetMem& window = on.window;
    window.show();
    HWND resetNow = childWithText(window.hwnd(), L"RESET NOW !");
    RECT box{};
    GetClientRect(resetNow, &box);
    HDC screen = GetDC(resetNow);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, box.right, box.bottom);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    NMCUSTOMDRAW draw{};
    draw.hdr = {resetNow, static_cast<UINT_PTR>(GetDlgCtrlID(resetNow)),
                static_cast<UINT>(NM_CUSTOMDRAW)};
    draw.dwDrawStage = CDDS_PREPAINT;
    draw.hdc = memory;
    draw.rc = box;
    EXPECT_EQ(paintButtonInColour(&draw.hdr, contrast), CDRF_SKIPDEFAULT);
    EXPECT_EQ(GetPixel(memory, 6, 4), contrast.face);
    EXPECT_EQ(GetPixel(memory, 0, box.bottom / 2), contrast.text) << "the focused button's edge";
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(resetNow, screen);
}

// The real program in a folder of its own, with its databases.
struct ResetFolder {
    ResetFolder(bool withTemplates = true)
    {
        folder.copyIn(besideTest(L"dbreset.exe"), "dbreset.exe");
        folder.write("MARLOcon.mdb", "con live");
        folder.write("MARLOspm.mdb", "spm live");
        folder.write("MARLOmdb.bak", "con old");
        if (withTemplates) {
            folder.write("cvmdb1.bin", "con empty");
            folder.write("cvmdb2.bin", "spm empty");
        }
    }
    AppFolder folder;
};

// Windows gives a program the behaviour of the newest system its manifest
// names (below Windows 8.1 version checks and timer coalescing lie, and a
// missing Windows 10 leaves it some of 8.1's); a mistyped Id counts as none.
TEST(WinProgramManifest, NamesEverySystemFromWindows7On)
{
    for (const wchar_t* program : {L"dbreset.exe", L"dbtransfer.exe"}) {
        const HMODULE image =
            LoadLibraryExW(besideTest(program).c_str(), nullptr,
                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_TRUE(image);
        HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
        ASSERT_TRUE(found);
        const std::string manifest(
            static_cast<const char*>(LockResource(LoadResource(image, found))),
            SizeofResource(image, found));
        for (const char* id :
             {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
              "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
            EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"),
                      std::string::npos)
                << id;
        FreeLibrary(image);
    }
}

TEST(WinResetProgram, EnterResetsBothDatabasesWaitsOutCloseAndCancelAndEndsWithZero)
{
    ResetFolder app;
    StartedProgram program(app.folder.wide("dbreset.exe"), app.folder.wide(""));
    HWND w = waitForTopWindow(nullptr, Caption, program.id());
    ASSERT_TRUE(w);
    HWND resetNow = childWithText(w, L"RESET NOW !");
    HWND bar = childOfClass(w, PROGRESS_CLASSW);
    // Enter presses the focused button.
    PostMessageW(resetNow, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(bar); }));
    EXPECT_FALSE(IsWindowEnabled(resetNow));
    EXPECT_FALSE(IsWindowVisible(childWithText(w, L"CAUTION !")));

    // Neither the close box nor "Cancel" stops a reset that runs.
    PostMessageW(w, WM_CLOSE, 0, 0);
    click(childWithText(w, L"Cancel"));
    const std::optional<Box> done = answerBox(L"MARLO-Corvane:", IDOK, program.id());
    ASSERT_TRUE(done);
    EXPECT_EQ(done->text,
              L" Database reset successfully completed! \r\n Please restart the program... ");
    EXPECT_EQ(program.exitStatus(), 0u);

    // What the reset leaves on disk is the sequence's, which the tests on
    // disk check; here, that the program ran it and started nothing.
    EXPECT_EQ(app.folder.read("MARLOcon.mdb"), "con empty");
    EXPECT_FALSE(app.folder.has("started.txt"));
}

TEST(WinResetProgram, MissingTemplateAbortsWithAnErrorBoxAndStatusOne)
{
    ResetFolder app(false);
    StartedProgram program(app.folder.wide("dbreset.exe"), app.folder.wide(""));
    HWND w = waitForTopWindow(nullptr, Caption, program.id());
    ASSERT_TRUE(w);
    click(childWithText(w, L"RESET NOW !"));
    const std::optional<Box> abort = answerBox(L"MARLO-Corvane:", IDOK, program.id());
    ASSERT_TRUE(abort);
    EXPECT_EQ(abort->text, L" Can't find CVMDB1.BIN... Reset aborted...! ");
    EXPECT_TRUE(abort->hasIcon);
    EXPECT_EQ(program.exitStatus(), 1u);
    EXPECT_EQ(app.folder.read("MARLOcon.mdb"), "con live");
    EXPECT_EQ(app.folder.read("MARLOmdb.bak"), "con old");
}

TEST(WinResetProgram, CancelStartsTheMainProgramBesideItTheCloseBoxDoesNotAndNoFileChanges)
{
    struct Way {
        bool cancel; // else the close box
        bool mainProgramThere;
    };
    for (const Way way : {Way{true, true}, Way{true, false}, Way{false, true}}) {
        ResetFolder app;
        if (way.mainProgramThere)
            app.folder.copyIn(besideTest(L"marlo_standin.exe"), "MARLOCON.EXE");
        StartedProgram program(app.folder.wide("dbreset.exe"), app.folder.wide(""));
        HWND w = waitForTopWindow(nullptr, Caption, program.id());
        ASSERT_TRUE(w);
        if (way.cancel)
            click(childWithText(w, L"Cancel"));
        else
            PostMessageW(w, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.exitStatus(), 0u);
        if (way.cancel && way.mainProgramThere)
            EXPECT_TRUE(waitUntil([&] { return app.folder.has("started.txt"); }));
        else
            EXPECT_FALSE(app.folder.has("started.txt"));
        EXPECT_EQ(app.folder.read("MARLOcon.mdb"), "con live");
        EXPECT_EQ(app.folder.read("MARLOmdb.bak"), "con old");
        EXPECT_FALSE(app.folder.has("MARLOspm.bak"));
    }
}

} // namespace
} // namespace marlo::test
