// What a progress window shows of a long copy and what its Cancel does,
// against a window that records what it was told.
#include "FailureNotice.h"
#include "ProgressCopyRunner.h"
#include "ProgressPresenter.h"
#include "ProgressTexts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <optional>
#include <string>

using namespace marlo;

namespace {

constexpr std::uint64_t MiB = 1 << 20;
using Phase = CopyStep::Phase;
using namespace std::chrono_literals;

struct RecordedView : ProgressView {
    std::string bytes = " ";
    std::optional<int> bar; // busy until the first position
    bool cancelEnabled = true;
    int finished = 0;

    void setBytesLine(const std::string& line) override { bytes = line; }
    void setBarPosition(int position) override { bar = position; }
    void disableCancel() override { cancelEnabled = false; }
    void finish() override { ++finished; }
};

struct Showing : ::testing::Test {
    CopyJob job;
    RecordedView view;
    std::chrono::steady_clock::time_point now{};
    std::optional<ProgressPresenter> presenter{std::in_place, job, view, [this] { return now; }};

    void report(std::uint64_t done, std::uint64_t total, Phase phase = Phase::Reading,
                int attempt = 1)
    {
        job.progress({phase, done, total, attempt});
        presenter->look();
    }
    void after(std::chrono::milliseconds time)
    {
        now += time;
        presenter->look();
    }
};

TEST_F(Showing, TheBarFollowsEachReadingAndCancelGreysOnlyOnceTheCopyIsFinishing)
{
    presenter->look();
    EXPECT_FALSE(view.bar);
    const struct {
        CopyStep step;
        std::string line;
        int bar;
    } cases[] = {
        {{Phase::Reading, 0, 40 * MiB}, " 0 of 40 MiB ", 0},
        {{Phase::Reading, 40 * MiB - 1, 40 * MiB}, " 39 of 40 MiB ", ProgressView::BarSteps - 1},
        // Read on past the size it had: against its new size.
        {{Phase::Reading, 41 * MiB, 50 * MiB}, " 41 of 50 MiB ", 820},
        {{Phase::Checking, 10 * MiB, 50 * MiB}, progress::Checking, 200},
        {{Phase::Reading, 5 * MiB, 50 * MiB, 2},
         " The file changed; copying again: 5 of 50 MiB ",
         100},
    };
    for (const auto& c : cases) {
        report(c.step.done, c.step.total, c.step.phase, c.step.attempt);
        EXPECT_EQ(view.bytes, c.line);
        EXPECT_EQ(view.bar, c.bar) << c.line;
        EXPECT_TRUE(view.cancelEnabled) << c.line;
    }
    report(50 * MiB, 50 * MiB, Phase::Finishing, 2);
    EXPECT_EQ(view.bytes, " 50 of 50 MiB ");
    EXPECT_FALSE(view.cancelEnabled);
    EXPECT_EQ(view.finished, 0);
}

TEST_F(Showing, ACopyOfNothingIsWholeAtOnce)
{
    report(0, 0, Phase::Finishing);
    EXPECT_EQ(view.bar, ProgressView::BarSteps);
    EXPECT_FALSE(view.cancelEnabled);
}

TEST_F(Showing, ACancelStopsTheCopyAndTheLineSaysSoUntilItHasEnded)
{
    report(MiB, 40 * MiB);
    presenter->requestCancel();
    EXPECT_FALSE(view.cancelEnabled);
    EXPECT_EQ(view.bytes, progress::Cancelling);
    // Refused up to its last chance, the report that it is finishing.
    EXPECT_FALSE(job.progress({Phase::Finishing, 40 * MiB, 40 * MiB}));
    presenter->look();
    EXPECT_EQ(view.bytes, progress::Cancelling);
    EXPECT_EQ(view.finished, 0);

    job.end(Status::cancelled(1, "cancelled"));
    presenter->look();
    EXPECT_TRUE(presenter->ended());
    EXPECT_EQ(view.finished, 1);
}

TEST_F(Showing, ACancelOnceTheCopyIsFinishingIsRefusedAndTheCopyEndsWhole)
{
    report(MiB, 40 * MiB);
    job.progress({Phase::Finishing, 40 * MiB, 40 * MiB}); // not yet seen by the window
    presenter->requestCancel();
    EXPECT_FALSE(view.cancelEnabled);
    EXPECT_EQ(view.bytes, " 40 of 40 MiB ");
    EXPECT_TRUE(job.progress({Phase::Finishing, 40 * MiB, 40 * MiB}));

    job.end(Status());
    presenter->look();
    EXPECT_EQ(view.finished, 1);
}

TEST_F(Showing, AShowingThatEndsBeforeTheCopyStopsIt)
{
    report(MiB, 40 * MiB);
    presenter.reset();
    EXPECT_FALSE(job.progress({Phase::Reading, 2 * MiB, 40 * MiB}));
}

// ---- A worker stuck in a read of a dead drive.

TEST_F(Showing, TenSecondsWithoutAReportWaitForTheDriveAndAFinishingCopyIsWaitedFor)
{
    report(MiB, 40 * MiB);
    after(9999ms);
    EXPECT_EQ(view.bytes, " 1 of 40 MiB ");
    after(1ms);
    EXPECT_EQ(view.bytes, progress::WaitingForDrive);
    report(40 * MiB, 40 * MiB, Phase::Finishing);
    EXPECT_EQ(view.bytes, " 40 of 40 MiB ");
    after(60s);
    EXPECT_EQ(view.bytes, progress::WaitingForDrive);
    presenter->requestCancel();
    EXPECT_FALSE(presenter->ended());
    EXPECT_FALSE(job.abandoned());
}

TEST_F(Showing, ACancelOfAStuckCopyEndsTheShowingWithoutItsWorker)
{
    // Cancel or the close box once it waits for the drive; or a cancel that
    // the worker never came back to answer.
    for (const bool waitingFirst : {true, false}) {
        CopyJob job;
        RecordedView view;
        ProgressPresenter presenter(job, view, [this] { return now; });
        job.progress({Phase::Checking, MiB, 40 * MiB});
        presenter.look();
        now += waitingFirst ? 10s : 0s;
        presenter.look();
        presenter.requestCancel();
        EXPECT_EQ(presenter.ended(), waitingFirst);
        now += 10s;
        presenter.look();
        EXPECT_TRUE(presenter.ended());
        EXPECT_TRUE(job.abandoned());
        // The worker that comes back at last is refused, and its end dropped.
        EXPECT_FALSE(job.progress({Phase::Finishing, 40 * MiB, 40 * MiB}));
        job.end(Status());
        presenter.look();
        EXPECT_EQ(view.finished, 1);
    }
}

// The runner of a copy given up on answers at once; its worker, stuck until
// then, comes back later to nothing of the command's.
TEST(ProgressCopyRunner, AWorkerGivenUpOnLeavesTheCommandAtOnceAndReturnsSafelyLater)
{
    std::promise<void> drive, workerBack;
    const std::shared_future<void> driveAnswers = drive.get_future().share();
    const ShowUntilEnded show = [](CopyJob& job, const std::string&) {
        job.cancel();
        EXPECT_TRUE(job.abandon());
    };
    const CopyWork stuck = [&](const CopyTask& task, const CopyProgress& progress) {
        driveAnswers.wait();
        const Status status = task(progress);
        workerBack.set_value();
        return status;
    };
    ProgressCopyRunner runner(show, stuck, 0ms);
    const Result<int> answer = runner.copy("a", "b", [](const CopyProgress& progress) {
        return progress({}) ? Result<int>(7) : Result<int>(Status::cancelled(1, "refused"));
    });
    ASSERT_FALSE(answer.ok());
    EXPECT_TRUE(answer.error().cancelled);
    drive.set_value();
    workerBack.get_future().wait();
}

} // namespace
