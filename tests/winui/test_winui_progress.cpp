// A long export on the Windows API: the copy runs beside the window, and a
// modal progress window appears after half a second.
#include "ImportWindow.h"
#include "ProgressCopyRunner.h"
#include "ProgressWindow.h"
#include "SessionEnd.h"
#include "SessionEndSteps.h"
#include "TransferTexts.h"
#include "WinDesign.h"
#include "WinStart.h"
#include "WinUiDrive.h"
#include "WinWindowSystem.h"

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>

namespace marlo::test {
namespace {

const std::wstring Question = L"MARLO-Corvane:";
constexpr std::uint64_t Total = 100;

// The taskbar button as the progress window tells it, one line a call.
struct RecordingTaskbar final : TaskbarProgress {
    explicit RecordingTaskbar(std::vector<std::string>& log) : log(log) {}
    ~RecordingTaskbar() override { log.push_back("clear"); }
    void busy() override { log.push_back("busy"); }
    void at(int position, int whole) override
    {
        log.push_back(whole == ProgressView::BarSteps ? std::to_string(position) : "bad whole");
    }
    std::vector<std::string>& log;
};

// On the window's button: busy, its figures never going back, cleared.
void expectShownThenCleared(const std::vector<std::string>& lines)
{
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "the window's button");
    EXPECT_EQ(lines[1], "busy");
    EXPECT_EQ(lines.back(), "clear");
    for (std::size_t i = 2, last = 0; i + 1 < lines.size(); ++i) {
        ASSERT_NE(lines[i].find_first_of("0123456789"), std::string::npos) << lines[i];
        EXPECT_GE(std::stoul(lines[i]), last);
        last = std::stoul(lines[i]);
    }
}

// The export of the CON database to "copy.mdb", copied by `work`.
struct LongExport {
    explicit LongExport(CopyWork work)
        : files(makeHostFileSystem([this] { return folder.str(); })),
          platform(*files, "dbtransfer"),
          window((prepareWindowsUi(), Platform{*files, platform}), [this, work](HWND w) {
              return std::make_unique<ProgressCopyRunner>(
                  showInProgressWindow(w,
                                       [this, w](HWND button) {
                                           taskbar.push_back(button == w ? "the window's button"
                                                                         : "another button");
                                           return std::make_unique<RecordingTaskbar>(taskbar);
                                       }),
                  work);
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

    // Written and read on the window's thread only.
    std::vector<std::string> taskbar;
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
    expectShownThenCleared(e.taskbar);
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
    expectShownThenCleared(e.taskbar);
}

// Wine may have no taskbar list: the button then shows nothing, and
// nothing fails.
TEST(WinTaskbarProgress, TheSystemsTaskbarTakesAProgressOrShowsNothing)
{
    prepareWindowsUi();
    HWND window = CreateWindowExW(0, L"STATIC", L"taskbar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  200, 100, nullptr, nullptr, nullptr, nullptr);
    for (HWND button : {window, HWND{}}) {
        const std::unique_ptr<TaskbarProgress> taskbar = systemTaskbarProgress(button);
        taskbar->busy();
        taskbar->at(ProgressView::BarSteps, ProgressView::BarSteps);
    }
    DestroyWindow(window);
}

// Why the window refuses a log-off, where the system keeps it.
std::optional<std::wstring> blockReasonOf(HWND window)
{
    using Query = BOOL(WINAPI*)(HWND, LPWSTR, DWORD*);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "ShutdownBlockReasonQuery")));
    wchar_t reason[256];
    DWORD size = std::size(reason);
    if (!query || !query(window, reason, &size))
        return std::nullopt;
    return reason;
}

TEST(WinProgressCopy, ALogOffCancelledDuringACopyLeavesTheCopyAndTheWindowAlone)
{
    std::atomic<bool> release = false;
    LongExport e([&](const CopyTask& task, const CopyProgress& progress) {
        progress({CopyStep::Phase::Reading, 0, Total});
        waitUntil([&] { return release.load(); }, 20s);
        return task(progress);
    });
    HWND window = e.window.hwnd();
    driveWhileRunning([&] {
        HWND progress = e.start();
        ASSERT_TRUE(progress);
        EXPECT_FALSE(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        if (const std::optional<std::wstring> reason = blockReasonOf(window))
            EXPECT_EQ(*reason, L" Copying MARLOCON.MDB to copy.mdb... ");
        else
            std::cout << "  this system shows no reason for a refused log-off "
                         "(no ShutdownBlockReasonQuery)\n";
        SendMessageW(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
        release = true;
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(progress); }));
        std::this_thread::sleep_for(300ms);
        EXPECT_FALSE(findTopWindow(L"#32770", Question)) << "the copy went through";
    });
    EXPECT_TRUE(IsWindow(window)) << "the window stays";
    EXPECT_EQ(e.folder.read("copy.mdb"), "con live");
}

// What the folder held as the session ended, and the status it ended with.
std::vector<std::wstring> atSessionEnd;
int sessionEndedWith = -1;
const AppFolder* endingFolder = nullptr;

std::vector<std::wstring> namesIn(const AppFolder& folder)
{
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.wide(".")))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WinProgressCopy, ALogOffCarriedOutDuringACopyStopsItAndWaitsForItsWorkerBeforeTheEnd)
{
    // The real copy, its temporary file written, waiting for the stop.
    LongExport e([](const CopyTask& task, const CopyProgress& progress) {
        return task([&](const CopyStep& step) {
            while (progress(step))
                std::this_thread::sleep_for(50ms);
            std::this_thread::sleep_for(300ms); // a worker slow to end is waited for
            return false;
        });
    });
    endingFolder = &e.folder;
    setSessionEnder([](int status) {
        sessionEndedWith = status;
        atSessionEnd = namesIn(*endingFolder);
    });
    driveWhileRunning([&] {
        HWND progress = e.start();
        ASSERT_TRUE(progress);
        EXPECT_EQ(namesIn(e.folder).size(), 2u) << "the copy's temporary file beside its source";
        EXPECT_FALSE(SendMessageW(e.window.hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        SendMessageW(e.window.hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        // The test's own end returns: the command tells of its cancel.
        EXPECT_TRUE(answerBox(Question, IDOK));
    });
    endProcessWithSession();
    EXPECT_EQ(sessionEndedWith, 1);
    EXPECT_EQ(atSessionEnd, std::vector<std::wstring>{L"MARLOcon.mdb"});
}

} // namespace
} // namespace marlo::test
