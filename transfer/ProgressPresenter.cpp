#include "ProgressPresenter.h"

#include "ProgressTexts.h"

#include <algorithm>
#include <utility>

namespace marlo {

namespace {

// A copy of nothing is whole at once.
int barPosition(std::uint64_t copied, std::uint64_t total)
{
    return total == 0 ? ProgressView::BarSteps
                      : static_cast<int>(std::min(copied, total) * ProgressView::BarSteps / total);
}

} // namespace

ProgressPresenter::ProgressPresenter(CopyJob& job, ProgressView& view) : job_(job), view_(view) {}

ProgressPresenter::~ProgressPresenter()
{
    if (!ended_)
        job_.cancel();
}

void ProgressPresenter::look()
{
    const CopyJob::Seen seen = job_.seen();
    if (seen.reported)
        showFigures(seen.copied, seen.total);
    ended_ = seen.ended;
    if (ended_)
        view_.finish();
}

void ProgressPresenter::requestCancel()
{
    if (!cancelEnabled_)
        return;
    // The copy refuses once it has reported the whole: the figures that
    // say so grey Cancel out, and the copy ends whole.
    if (!job_.cancel()) {
        look();
        return;
    }
    cancelling_ = true;
    disableCancel();
    view_.setBytesLine(progress::Cancelling);
}

void ProgressPresenter::showFigures(std::uint64_t copied, std::uint64_t total)
{
    if (!cancelling_)
        view_.setBytesLine(progress::bytesLine(copied, total));
    view_.setBarPosition(barPosition(copied, total));
    // Only the final sync and rename remain, which cannot be cancelled.
    if (copied >= total)
        disableCancel();
}

void ProgressPresenter::disableCancel()
{
    if (std::exchange(cancelEnabled_, false))
        view_.disableCancel();
}

} // namespace marlo
