// A long export on the Windows API: the copy runs beside the window, and a
// modal progress window appears after half a second.
#include "ImportWindow.h"
#include "ProgressCopyRunner.h"
#include "ProgressWindow.h"
#include "TransferTexts.h"
#include "WinDesign.h"
#include "WinStart.h"
#include "WinUiDrive.h"
#include "WinWindowSystem.h"

#include <commctrl.h>

namespace marlo::test {
namespace {

const std::wstring Question = L"MARLO-Corvane:";
constexpr std::uint64_t Total = 100;

// The export of the CON database to "copy.mdb", copied by `work`.
struct LongExport {
    explicit LongExport(CopyWork work)
        : files(makeHostFileSystem([this] { return folder.str(); })),
          platform(*files, "dbtransfer"),
          window((prepareWindowsUi(), Platform{*files, platform}), [work](HWND w) {
              return std::make_unique<ProgressCopyRunner>(showInProgressWindow(w), work);
          })
    {
        platform.setWindow(window.hwnd());
        folder.write("MARLOcon.mdb", "con live");
        window.show();
    }
    // Starts the export and waits for the progress window.
    HWND start()
    {
        const std::wstring started = win32::widen(texts::ExportConTitle);
        click(childWithText(window.hwnd(), L"&EXPORT existing  MARLOCON.MDB"));
        if (!chooseFile(started, win32::widen(folder / "copy.mdb")))
            return nullptr;
        return waitForTopWindow(L"MarloCopyProgress", Question);
    }

    AppFolder folder;
    std::unique_ptr<FileSystem> files;
    WinWindowSystem platform;
    ImportWindow window;
};

TEST(WinProgressCopy, CancelStopsALongCopyAndLeavesTheDestinationAlone)
{
    LongExport e([](const CopyTask& task, const CopyProgress& progress) {
        for (std::uint64_t done = 0; done < Total; ++done) {
            if (!progress({CopyStep::Phase::Reading, done, Total}))
                return Status::cancelled(ERROR_CANCELLED, "cancelled");
            std::this_thread::sleep_for(100ms);
        }
        return task(progress);
    });
    const auto started = std::chrono::steady_clock::now();
    driveWhileRunning([&] {
        HWND progress = e.start();
        ASSERT_TRUE(progress);
        EXPECT_GE(std::chrono::steady_clock::now() - started, 500ms);
        EXPECT_FALSE(IsWindowEnabled(e.window.hwnd())) << "modal over the window";
        EXPECT_TRUE(childWithText(progress, L" Copying MARLOCON.MDB to copy.mdb... "));
        // At 1.5 times the scale, the window and its Cancel as much larger.
        HWND cancel = GetDlgItem(progress, IDCANCEL);
        RECT client{}, larger{};
        GetClientRect(progress, &client);
        const RECT button = placeOf(cancel);
        const int dpi = screenDpi();
        changeDpi(progress, dpi, dpi * 3 / 2);
        GetClientRect(progress, &larger);
        EXPECT_EQ(larger.right, client.right * 3 / 2);
        EXPECT_EQ(larger.bottom, client.bottom * 3 / 2);
        const RECT scaled = placeOf(cancel);
        EXPECT_EQ(scaled.right - scaled.left, (button.right - button.left) * 3 / 2);
        EXPECT_EQ(scaled.bottom - scaled.top, (button.bottom - button.top) * 3 / 2);
        PostMessageW(cancel, WM_KEYDOWN, VK_RETURN, 0);
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(IsWindowEnabled(cancel)) << "Enter leaves the copy running";
        EXPECT_FALSE(findTopWindow(L"#32770", Question));
        click(cancel);
        const std::optional<Box> told = answerBox(Question, IDOK);
        ASSERT_TRUE(told);
        EXPECT_EQ(told->text.rfind(
                      L" The export of MARLOCON.MDB to your selected file was cancelled ! ", 0),
                  0u);
        EXPECT_FALSE(IsWindow(progress));
    });
    EXPECT_FALSE(e.folder.has("copy.mdb"));
    EXPECT_TRUE(IsWindowEnabled(e.window.hwnd()));
}

TEST(WinProgressCopy, OnceTheCopyIsFinishingCancelIsGoneAndTheCopyCompletes)
{
    std::atomic<bool> release = false;
    LongExport e([&](const CopyTask& task, const CopyProgress& progress) {
        progress({CopyStep::Phase::Finishing, Total, Total});
        waitUntil([&] { return release.load(); });
        return task(progress);
    });
    driveWhileRunning([&] {
        HWND progress = e.start();
        ASSERT_TRUE(progress);
        HWND cancel = GetDlgItem(progress, IDCANCEL);
        EXPECT_TRUE(waitUntil([&] { return !IsWindowEnabled(cancel); }));
        PostMessageW(progress, WM_CLOSE, 0, 0);
        release = true;
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(progress); }));
        std::this_thread::sleep_for(200ms);
        EXPECT_FALSE(findTopWindow(L"#32770", Question)) << "no box after a copy that completed";
    });
    EXPECT_EQ(e.folder.read("copy.mdb"), "con live");
}

} // namespace
} // namespace marlo::test
