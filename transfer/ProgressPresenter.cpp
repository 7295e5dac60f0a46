#include "ProgressPresenter.h"

#include "ProgressTexts.h"

#include <algorithm>
#include <utility>

namespace marlo {

namespace {

// A reading of nothing is whole at once.
int barPosition(std::uint64_t done, std::uint64_t total)
{
    return total == 0 ? ProgressView::BarSteps
                      : static_cast<int>(std::min(done, total) * ProgressView::BarSteps / total);
}

} // namespace

ProgressPresenter::ProgressPresenter(CopyJob& job, ProgressView& view, Clock now)
    : job_(job), view_(view), now_(std::move(now)), lastReport_(now_())
{
}

ProgressPresenter::~ProgressPresenter()
{
    if (!ended_)
        job_.cancel();
}

void ProgressPresenter::look()
{
    if (ended_)
        return;
    const CopyJob::Seen seen = job_.seen();
    if (seen.reports != reports_) {
        reports_ = seen.reports;
        lastReport_ = now_();
        waitingShown_ = false;
        showStep(seen.step);
    }
    ended_ = seen.ended;
    if (ended_) {
        view_.finish();
        return;
    }
    if (!stalled())
        return;
    if (cancelling_) {
        abandonIfStalled();
    } else if (!std::exchange(waitingShown_, true)) {
        view_.setBytesLine(progress::WaitingForDrive);
    }
}

void ProgressPresenter::requestCancel()
{
    if (!cancelEnabled_)
        return;
    // The copy refuses once it is finishing: the step that says so greys
    // Cancel out, and the copy ends whole.
    if (!job_.cancel()) {
        look();
        return;
    }
    cancelling_ = true;
    disableCancel();
    view_.setBytesLine(progress::Cancelling);
    abandonIfStalled();
}

bool ProgressPresenter::stalled() const
{
    return now_() - lastReport_ >= StallTime;
}

// A worker stuck in its drive would keep the window up for good; it was
// refused at its next report, so the command ends as cancelled without it.
void ProgressPresenter::abandonIfStalled()
{
    if (stalled() && job_.abandon()) {
        ended_ = true;
        view_.finish();
    }
}

void ProgressPresenter::showStep(const CopyStep& step)
{
    if (!cancelling_)
        view_.setBytesLine(progress::stepLine(step));
    view_.setBarPosition(barPosition(step.done, step.total));
    // Only the final flush and rename remain, which cannot be cancelled.
    if (step.phase == CopyStep::Phase::Finishing)
        disableCancel();
}

void ProgressPresenter::disableCancel()
{
    if (std::exchange(cancelEnabled_, false))
        view_.disableCancel();
}

} // namespace marlo
