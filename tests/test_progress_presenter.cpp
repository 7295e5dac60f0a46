// What a progress window shows of a long copy and what its Cancel does,
// against a window that records what it was told.
#include "FailureNotice.h"
#include "ProgressPresenter.h"
#include "ProgressTexts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

using namespace marlo;

namespace {

constexpr std::uint64_t MiB = 1 << 20;

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
    std::optional<ProgressPresenter> presenter{std::in_place, job, view};

    void report(std::uint64_t copied, std::uint64_t total)
    {
        job.progress(copied, total);
        presenter->look();
    }
};

TEST_F(Showing, TheBarFollowsTheFiguresAndCancelGreysOnlyOnceTheWholeIsReported)
{
    presenter->look();
    EXPECT_FALSE(view.bar);
    report(0, 40 * MiB);
    EXPECT_EQ(view.bar, 0);
    EXPECT_EQ(view.bytes, " 0 of 40 MiB ");
    report(40 * MiB - 1, 40 * MiB);
    EXPECT_EQ(view.bar, ProgressView::BarSteps - 1);
    EXPECT_TRUE(view.cancelEnabled);
    report(41 * MiB, 40 * MiB); // a source that grew
    EXPECT_EQ(view.bar, ProgressView::BarSteps);
    EXPECT_FALSE(view.cancelEnabled);
    EXPECT_EQ(view.finished, 0);
}

TEST_F(Showing, ACopyOfNothingIsWholeAtOnce)
{
    report(0, 0);
    EXPECT_EQ(view.bar, ProgressView::BarSteps);
    EXPECT_FALSE(view.cancelEnabled);
}

TEST_F(Showing, ACancelStopsTheCopyAndTheLineSaysSoUntilItHasEnded)
{
    report(MiB, 40 * MiB);
    presenter->requestCancel();
    EXPECT_FALSE(view.cancelEnabled);
    EXPECT_EQ(view.bytes, progress::Cancelling);
    EXPECT_FALSE(job.progress(2 * MiB, 40 * MiB));
    presenter->look();
    EXPECT_EQ(view.bytes, progress::Cancelling);
    EXPECT_EQ(view.finished, 0);

    job.end(Status::cancelled(1, "cancelled"));
    presenter->look();
    EXPECT_TRUE(presenter->ended());
    EXPECT_EQ(view.finished, 1);
}

TEST_F(Showing, ACancelAfterTheWholeWasReportedIsRefusedAndTheCopyEndsWhole)
{
    report(MiB, 40 * MiB);
    job.progress(40 * MiB, 40 * MiB); // not yet seen by the window
    presenter->requestCancel();
    EXPECT_FALSE(view.cancelEnabled);
    EXPECT_EQ(view.bytes, " 40 of 40 MiB ");
    EXPECT_TRUE(job.progress(40 * MiB, 40 * MiB));

    job.end(Status());
    presenter->look();
    EXPECT_EQ(view.finished, 1);
}

TEST_F(Showing, AShowingThatEndsBeforeTheCopyStopsIt)
{
    report(MiB, 40 * MiB);
    presenter.reset();
    EXPECT_FALSE(job.progress(2 * MiB, 40 * MiB));
}

} // namespace
