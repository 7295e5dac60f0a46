// The import/export window on the Windows API: its start state and the
// file commands through the system's own chooser and message boxes in this
// process; the real dbtransfer.exe for its exits.
#include "ImportWindow.h"
#include "ImportWindowDesign.h"
#include "ShellCalls.h"
#include "TransferTexts.h"
#include "WinCommonDialog.h"
#include "WinDesign.h"
#include "WinStart.h"
#include "WinUiDrive.h"
#include "WinWindowSystem.h"

#include <wrl/client.h>

#include <cmath>

namespace marlo::test {
namespace {

namespace design = importwindow;
const std::wstring Caption = win32::widen(design::Caption);
const std::wstring Question = L"MARLO-Corvane:";

std::wstring w(const char* text)
{
    return win32::widen(text);
}

// The window over a test's application folder.
struct TransferWindow {
    explicit TransferWindow(const ImportWindow::CopierFactory& makeCopier = {})
        : files(makeHostFileSystem([this] { return folder.str(); })),
          platform(*files, "dbtransfer"),
          window((prepareWindowsUi(), Platform{*files, platform}), makeCopier)
    {
        platform.setWindow(window.hwnd());
        folder.write("MARLOcon.mdb", "con live");
        folder.write("MARLOspm.mdb", "spm live");
        folder.write("backup.mdb", "old backup");
        window.show();
    }
    HWND button(const char* name) const
    {
        for (const design::ButtonDesign& b : design::Buttons)
            if (std::string(b.name) == name)
                return childWithText(window.hwnd(), w(b.caption));
        return nullptr;
    }

    AppFolder folder;
    std::unique_ptr<FileSystem> files;
    WinWindowSystem platform;
    ImportWindow window;
};

TEST(WinImportWindow, StartsWithItsDesignValuesAndKeepsThemWhenResized)
{
    TransferWindow t;
    HWND win = t.window.hwnd();
    const int dpi = screenDpi();
    EXPECT_EQ(textOf(win), Caption);
    EXPECT_EQ(GetWindowLongPtrW(win, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    RECT client{};
    GetClientRect(win, &client);
    EXPECT_EQ(client.right, pixelsFromTwips(9000, dpi));
    EXPECT_EQ(client.bottom, pixelsFromTwips(6825, dpi));

    // Every button at its box, in tab order from Command1 round to it again.
    HWND previous = nullptr;
    for (const design::ButtonDesign& b : design::Buttons) {
        HWND button = childWithText(win, w(b.caption));
        ASSERT_TRUE(button) << b.name;
        const RECT r = placeOf(button);
        const RECT expected =
            rectFromTwips({b.box.left, b.box.top, b.box.width, b.box.height}, dpi);
        EXPECT_TRUE(EqualRect(&r, &expected)) << b.name;
        if (previous)
            EXPECT_EQ(GetNextDlgTabItem(win, previous, FALSE), button) << b.name;
        else
            EXPECT_EQ(GetFocus(), button);
        previous = button;
    }
    EXPECT_EQ(GetNextDlgTabItem(win, previous, FALSE), t.button("Command1"));
    EXPECT_EQ(placeOf(t.button("Command8")).top, pixelsFromTwips(5400, dpi));
    EXPECT_EQ(placeOf(t.button("Command6")).top, pixelsFromTwips(5385, dpi));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(t.button("Command1"), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    EXPECT_EQ(font.lfHeight, -std::lround(8.25 * dpi / 72.0));

    // The frame: a plain rectangle from above the client area, the
    // paragraphs placed from its corner.
    HWND frame = nullptr;
    for (HWND c : childrenOf(win))
        if ((GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_BLACKFRAME)
            frame = c;
    ASSERT_TRUE(frame);
    EXPECT_FALSE(GetWindowLongPtrW(frame, GWL_EXSTYLE) &
                 (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE));
    EXPECT_EQ(placeOf(frame).top, pixelsFromTwips(-15, dpi));
    HWND paragraph = childWithText(win, w(design::Labels[2].text));
    ASSERT_TRUE(paragraph);
    EXPECT_EQ(placeOf(paragraph).left, pixelsFromTwips(60 + 825, dpi));
    EXPECT_EQ(placeOf(paragraph).top, pixelsFromTwips(-15 + 2190, dpi));

    const RECT before = placeOf(t.button("Command7"));
    ShowWindow(win, SW_MAXIMIZE);
    const RECT after = placeOf(t.button("Command7"));
    EXPECT_TRUE(EqualRect(&before, &after));
    ShowWindow(win, SW_RESTORE);

    // On a monitor at 1.5 times the scale: the design again, as large, and
    // the window around its centre.
    const int larger = dpi * 3 / 2;
    const POINT centre = centreOf(win);
    changeDpi(win, dpi, larger);
    GetClientRect(win, &client);
    EXPECT_EQ(client.right, pixelsFromTwips(9000, larger));
    EXPECT_EQ(client.bottom, pixelsFromTwips(6825, larger));
    EXPECT_NEAR(centreOf(win).x, centre.x, 1);
    EXPECT_NEAR(centreOf(win).y, centre.y, 1);
    for (const design::ButtonDesign& b : design::Buttons) {
        const RECT r = placeOf(childWithText(win, w(b.caption)));
        const RECT expected = rectFromTwips(b.box, larger);
        EXPECT_TRUE(EqualRect(&r, &expected)) << b.name;
    }
    EXPECT_EQ(placeOf(paragraph).top, pixelsFromTwips(-15 + 2190, larger));
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(t.button("Command1"), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -std::lround(8.25 * larger / 72.0));

    // Command8 and Escape do nothing at all.
    const std::optional<int> quit = driveWhileRunning([&] {
        click(t.button("Command8"));
        PostMessageW(t.button("Command1"), WM_KEYDOWN, VK_ESCAPE, 0);
        std::this_thread::sleep_for(300ms);
        EXPECT_FALSE(findTopWindow(L"#32770", Question));
    });
    EXPECT_FALSE(quit);
    EXPECT_TRUE(IsWindowVisible(win));
}

// The window leaves its children's area alone, so that a resize does not
// flicker; the frame, which draws only its edge, must then fill its inside.
TEST(WinImportWindow, PaintsNoChildsAreaButTheFrameFillsItsInside)
{
    TransferWindow t;
    HWND win = t.window.hwnd();
    EXPECT_TRUE(GetWindowLongPtrW(win, GWL_STYLE) & WS_CLIPCHILDREN);
    HWND frame = nullptr;
    for (HWND c : childrenOf(win))
        if ((GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_BLACKFRAME)
            frame = c;
    ASSERT_TRUE(frame);
    // A point inside the frame that no label covers.
    const RECT inside = placeOf(frame);
    POINT spot{inside.left + 4, inside.top + 4};
    for (HWND c : childrenOf(win)) {
        const RECT r = placeOf(c);
        ASSERT_TRUE(c == frame || !PtInRect(&r, spot));
    }
    HDC frameDc = GetDC(frame);
    RECT all{};
    GetClientRect(frame, &all);
    const win32::UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(frameDc, &all, red.get());
    ReleaseDC(frame, frameDc);
    RedrawWindow(win, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC dc = GetDC(win);
    EXPECT_EQ(GetPixel(dc, spot.x, spot.y), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(win, dc);
}

TEST(WinImportWindow, ExportImportAndDeleteThroughTheSystemChooser)
{
    TransferWindow t;
    t.folder.write("locked.mdb", "locked");
    SetFileAttributesW(t.folder.wide("locked.mdb").c_str(), FILE_ATTRIBUTE_READONLY);
    const std::optional<int> quit = driveWhileRunning([&] {
        // Export: "No" to the overwrite question shows the chooser again; a
        // new name gets the default extension.
        click(t.button("Command1"));
        ASSERT_TRUE(chooseFile(w(texts::ExportConTitle), w((t.folder / "backup.mdb").c_str())));
        const std::optional<Box> overwrite = answerBox(Question, IDNO);
        ASSERT_TRUE(overwrite);
        EXPECT_EQ(overwrite->text, w(texts::OverwriteQuestion));
        ASSERT_TRUE(chooseFile(w(texts::ExportConTitle), w((t.folder / "fresh").c_str())));
        EXPECT_TRUE(waitUntil([&] { return t.folder.read("fresh.mdb") == "con live"; }));

        // Import: the name just exported here is offered; a missing name
        // is told in a box with the program's title; "Yes" copies the
        // chosen file over the live database.
        click(t.button("Command5"));
        EXPECT_EQ(chooserName(w(texts::ImportSpmTitle)), L"fresh.mdb");
        ASSERT_TRUE(chooseFile(w(texts::ImportSpmTitle), w((t.folder / "gone.mdb").c_str())));
        const std::optional<Box> missing = answerBox(L"dbtransfer", IDOK);
        ASSERT_TRUE(missing);
        EXPECT_EQ(missing->text, w(texts::ImportMissing));
        // (The live database is read only once the import has replaced it: a
        // read meanwhile would be another program holding it, and the import
        // rightly refused.)
        const unsigned long long spm = t.folder.fileIndex("MARLOspm.mdb");
        click(t.button("Command5"));
        ASSERT_TRUE(chooseFile(w(texts::ImportSpmTitle), w((t.folder / "backup.mdb").c_str())));
        EXPECT_EQ(answerBox(Question, IDYES)->text, w(texts::ImportSpmQuestion));
        EXPECT_TRUE(waitUntil([&] { return t.folder.fileIndex("MARLOspm.mdb") != spm; }));
        EXPECT_EQ(t.folder.read("MARLOspm.mdb"), "old backup");

        // Delete: a cancelled chooser ends without a word; a read-only file
        // stays and the user is told so; another one goes.
        click(t.button("Command7"));
        ASSERT_TRUE(cancelChooser(w(texts::DeleteTitle)));
        click(t.button("Command7"));
        ASSERT_TRUE(chooseFile(w(texts::DeleteTitle), w((t.folder / "locked.mdb").c_str())));
        EXPECT_EQ(answerBox(Question, IDYES)->text, w(texts::DeleteQuestion));
        const std::optional<Box> refused = answerBox(Question, IDOK);
        ASSERT_TRUE(refused);
        EXPECT_TRUE(refused->hasIcon);
        EXPECT_EQ(refused->text.rfind(L" Could not delete your selected file ! ", 0), 0u);
        click(t.button("Command7"));
        ASSERT_TRUE(chooseFile(w(texts::DeleteTitle), w((t.folder / "fresh.mdb").c_str())));
        answerBox(Question, IDYES);
        EXPECT_TRUE(waitUntil([&] { return !t.folder.has("fresh.mdb"); }));

        // A typed suffix stays, whichever case it is written in.
        click(t.button("Command1"));
        ASSERT_TRUE(chooseFile(w(texts::ExportConTitle), w((t.folder / "x.MDB").c_str())));
        EXPECT_TRUE(waitUntil([&] { return t.folder.read("x.MDB") == "con live"; }));
        EXPECT_FALSE(t.folder.has("x.MDB.mdb"));
        std::this_thread::sleep_for(200ms);
        EXPECT_FALSE(findTopWindow(L"#32770", Question));
    });
    EXPECT_FALSE(quit);
    EXPECT_EQ(t.folder.read("locked.mdb"), "locked");
    EXPECT_EQ(t.folder.read("MARLOcon.mdb"), "con live");
    EXPECT_EQ(t.folder.read("backup.mdb"), "old backup");
}

// Whether the drive holds a file of that name: Windows' drives hold any
// sequence of units; Wine's keep names as UTF-8 on the host and refuse what
// UTF-8 cannot say.
bool driveHoldsName(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
}

TEST(WinImportWindow, TheChooserOpensInTheApplicationFolderAndHandsBackEveryName)
{
    TransferWindow t;
    AppFolder elsewhere;
    // A name that no UTF-16 text holds: a high surrogate without its partner.
    const std::wstring odd = L"odd\xd800.mdb";
    const std::wstring oddPath = t.folder.wide("") + odd;
    const bool holdsOdd = driveHoldsName(elsewhere.wide("") + odd);
    const auto oddExists = [&] {
        return GetFileAttributesW(oddPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    const std::optional<int> quit = driveWhileRunning([&] {
        // A first export elsewhere, of the live database's own name; the
        // delete chooser, in the application folder, offers no name, or
        // Enter twice would delete the live database.
        click(t.button("Command1"));
        ASSERT_TRUE(chooseFile(w(texts::ExportConTitle), w((elsewhere / "MARLOcon.mdb").c_str())));
        EXPECT_TRUE(waitUntil([&] { return elsewhere.read("MARLOcon.mdb") == "con live"; }));
        click(t.button("Command7"));
        EXPECT_EQ(chooserName(w(texts::DeleteTitle)), L"");
        ASSERT_TRUE(cancelChooser(w(texts::DeleteTitle)));
        click(t.button("Command1"));
        ASSERT_TRUE(chooseFile(w(texts::ExportConTitle), odd));
        if (!holdsOdd) {
            // The export fails on the drive, naming the very name chosen.
            const std::optional<Box> refused = answerBox(Question, IDOK);
            ASSERT_TRUE(refused);
            EXPECT_NE(refused->text.find(L" " + oddPath + L" "), std::wstring::npos);
            return;
        }
        EXPECT_TRUE(waitUntil(oddExists));

        const unsigned long long spm = t.folder.fileIndex("MARLOspm.mdb");
        click(t.button("Command5"));
        ASSERT_TRUE(chooseFile(w(texts::ImportSpmTitle), odd));
        EXPECT_EQ(answerBox(Question, IDYES)->text, w(texts::ImportSpmQuestion));
        EXPECT_TRUE(waitUntil([&] { return t.folder.fileIndex("MARLOspm.mdb") != spm; }));
        EXPECT_EQ(t.folder.read("MARLOspm.mdb"), "con live");

        click(t.button("Command7"));
        ASSERT_TRUE(chooseFile(w(texts::DeleteTitle), odd));
        EXPECT_EQ(answerBox(Question, IDYES)->text, w(texts::DeleteQuestion));
        EXPECT_TRUE(waitUntil([&] { return !oddExists(); }));
    });
    EXPECT_FALSE(quit);
    EXPECT_FALSE(findTopWindow(L"#32770", Question));
}

TEST(WinImportWindow, ImportOverADatabaseThatAnotherProgramHoldsIsRefusedAndTold)
{
    TransferWindow t;
    {
        StartedProgram holder(besideTest(L"marlo_standin.exe"), t.folder.wide(""),
                              L"hold \"" + t.folder.wide("MARLOcon.mdb") + L"\"");
        ASSERT_TRUE(waitUntil([&] { return t.folder.read("MARLOcon.mdb") == "<none>"; }));
        driveWhileRunning([&] {
            click(t.button("Command3"));
            ASSERT_TRUE(chooseFile(w(texts::ImportConTitle), w((t.folder / "backup.mdb").c_str())));
            answerBox(Question, IDYES);
            const std::optional<Box> refused = answerBox(Question, IDOK);
            ASSERT_TRUE(refused);
            EXPECT_EQ(
                refused->text.rfind(L" Could not import your selected file as MARLOCON.MDB ! ", 0),
                0u);
        });
    }
    EXPECT_TRUE(waitUntil([&] { return t.folder.read("MARLOcon.mdb") == "con live"; }));
}

TEST(WinImportWindow, ACloseAskedDuringACommandWaitsForItsEndAndItsNotice)
{
    TransferWindow t;
    t.folder.write("locked.mdb", "locked");
    SetFileAttributesW(t.folder.wide("locked.mdb").c_str(), FILE_ATTRIBUTE_READONLY);
    HWND win = t.window.hwnd();
    const std::optional<int> quit = driveWhileRunning([&] {
        click(t.button("Command7"));
        ASSERT_TRUE(chooseFile(w(texts::DeleteTitle), w((t.folder / "locked.mdb").c_str())));
        HWND question = waitForTopWindow(L"#32770", Question);
        ASSERT_TRUE(question);
        PostMessageW(win, WM_CLOSE, 0, 0);
        PostMessageW(win, WM_CLOSE, 0, 0);
        EXPECT_FALSE(SendMessageW(win, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        std::this_thread::sleep_for(200ms);
        EXPECT_TRUE(IsWindow(question)) << "the question stays until it is answered";
        EXPECT_EQ(answerBox(Question, IDYES)->text, w(texts::DeleteQuestion));
        const std::optional<Box> refused = answerBox(Question, IDOK);
        ASSERT_TRUE(refused) << "the command's notice is still shown";
        EXPECT_EQ(refused->text.rfind(L" Could not delete your selected file ! ", 0), 0u);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(win); })) << "then the window closes";
    });
    EXPECT_EQ(quit, 0);
    EXPECT_EQ(t.folder.read("locked.mdb"), "locked");
}

TEST(WinTransferProgram, ExitsStartTheMainProgramOnlyWhenAskedAndEndWithZero)
{
    struct Exit {
        const char* button; // nullptr: the close box
        bool starts;
    };
    for (const Exit exit : {Exit{"Exit  (&Restart MARLO-Corvane)", true},
                            Exit{"Exit  (&Quit all)", false}, Exit{nullptr, false}}) {
        AppFolder folder;
        folder.copyIn(besideTest(L"dbtransfer.exe"), "dbtransfer.exe");
        folder.copyIn(besideTest(L"marlo_standin.exe"), "MARLOCON.EXE");
        // Started from another folder: the main program works in its own.
        StartedProgram program(folder.wide("dbtransfer.exe"), besideTest(L""));
        HWND win = waitForTopWindow(nullptr, Caption, program.id());
        ASSERT_TRUE(win);
        if (exit.button)
            click(childWithText(win, w(exit.button)));
        else
            PostMessageW(win, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.exitStatus(), 0u);
        if (exit.starts) {
            EXPECT_TRUE(waitUntil([&] { return folder.has("started.txt"); }));
            const std::string worksIn = folder.read("started.txt");
            EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(worksIn.data()),
                                   worksIn.size() / sizeof(wchar_t)),
                      win32::widen(folder.str()));
        } else
            EXPECT_FALSE(folder.has("started.txt"));
    }
}

TEST(WinCommonDialogSettings, TheFileTypesBecomeTheSystemsList)
{
    EXPECT_EQ(systemFileTypesFor(fileTypesFor(texts::ChooserFilter)),
              (std::vector<SystemFileType>{{L"MS Access DB (*.mdb)", L"*.mdb"},
                                           {L"Backup files (*.bak)", L"*.bak"},
                                           {L"All files (*.*)", L"*.*"}}));
    EXPECT_EQ(systemFileTypesFor(fileTypesFor("Odd|*.x;*.y|Odd one out")),
              (std::vector<SystemFileType>{{L"Odd", L"*.x;*.y"}}));
    EXPECT_TRUE(systemFileTypesFor({}).empty());
}

// What real Windows' dialog would do on its own and Wine's does not: refuse
// a read-only file, ask its own overwrite question, add the extension of the
// listed type, follow a picked shortcut to its target (the open dialog has
// the same options). Read back from the dialog as it is set up for a showing.
TEST(WinCommonDialogSettings, TheSaveDialogHandsBackAnyNameAsTyped)
{
    const ShellCalls* shell = nullptr;
    ASSERT_HRESULT_SUCCEEDED(shellCallsOnThisThread(shell));
    Microsoft::WRL::ComPtr<IFileDialog> dialog;
    ASSERT_HRESULT_SUCCEEDED(shell->coCreateInstance(
        CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(dialog.GetAddressOf())));
    AppFolder folder;
    ChooserRequest request{.save = true,
                           .title = "Export",
                           .initialFolder = folder.str(),
                           .fileTypes = fileTypesFor(texts::ChooserFilter),
                           .initialName = "saved.mdb"};
    ASSERT_HRESULT_SUCCEEDED(prepareFileDialog(*dialog.Get(), *shell, request));
    FILEOPENDIALOGOPTIONS options = 0;
    ASSERT_HRESULT_SUCCEEDED(dialog->GetOptions(&options));
    EXPECT_FALSE(options & (FOS_NOREADONLYRETURN | FOS_OVERWRITEPROMPT | FOS_CREATEPROMPT |
                            FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST | FOS_STRICTFILETYPES));
    constexpr FILEOPENDIALOGOPTIONS on =
        FOS_NOVALIDATE | FOS_NOCHANGEDIR | FOS_FORCEFILESYSTEM | FOS_NODEREFERENCELINKS;
    EXPECT_EQ(options & on, on);
    UINT type = 0;
    ASSERT_HRESULT_SUCCEEDED(dialog->GetFileTypeIndex(&type));
    EXPECT_EQ(type, 1u);
}

// Windows' answer is the file meant, also where the field shows a name
// without its hidden extension; only Wine's appended extension is undone.
TEST(WinCommonDialogSettings, ASavedNameIsWindowsAnswerAndOnlyWinesAppendedExtensionGoes)
{
    const struct {
        bool wine;
        const wchar_t *returned, *typed, *saved;
    } cases[] = {
        {false, L"C:\\APP\\foo.txt", L"foo", L"C:\\APP\\foo.txt"},
        {false, L"C:\\APP\\x.MDB.mdb", L"x.MDB", L"C:\\APP\\x.MDB.mdb"},
        {true, L"C:\\APP\\x.MDB.mdb", L"x.MDB", L"C:\\APP\\x.MDB"},
        {true, L"C:\\APP\\fresh.mdb", L"D:\\other\\fresh", L"C:\\APP\\fresh"},
        {true, L"C:\\APP\\foobar.mdb", L"foo", L"C:\\APP\\foobar.mdb"},
        {true, L"C:\\APP\\x.mdb", L"", L"C:\\APP\\x.mdb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(savedFileName(c.returned, c.typed, c.wine), c.saved)
            << c.wine << " " << win32::narrow(c.returned);
    // This test runs under Wine.
    EXPECT_TRUE(runsUnderWine());
}

// Every name a Windows drive holds comes back as the same name: a surrogate
// without its partner keeps its own three bytes.
TEST(WinNames, EverySequenceOfUnitsSurvivesTheWayToUtf8AndBack)
{
    struct Case {
        std::wstring wide;
        std::string utf8;
    };
    for (const Case& c :
         {Case{L"plain.mdb", "plain.mdb"},
          Case{L"\x00e9\x20ac\xd83d\xdcfb.mdb", "\xc3\xa9\xe2\x82\xac\xf0\x9f\x93\xbb.mdb"},
          Case{L"a\xd800", "a\xed\xa0\x80"},
          Case{L"\xdfff\xd83d\xdcfbz", "\xed\xbf\xbf\xf0\x9f\x93\xbbz"},
          Case{L"\xdc00\xd800", "\xed\xb0\x80\xed\xa0\x80"}}) {
        EXPECT_EQ(win32::narrow(c.wide), c.utf8);
        EXPECT_EQ(win32::widen(c.utf8), c.wide);
    }
    // Bytes that are no UTF-8 convert as the system converts them; a cut
    // three-byte form is no surrogate.
    EXPECT_EQ(win32::widen("a\xff"), L"a\xfffd");
    EXPECT_EQ(win32::widen("a\xed\xa0").find_first_not_of(L"a\xfffd"), std::wstring::npos);
}

} // namespace
} // namespace marlo::test
