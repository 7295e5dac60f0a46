#pragma once

#include <string>

namespace marlo {

// What a toolkit's progress window shows of a long copy, as the
// ProgressPresenter tells it. The window starts with a blank bytes line, a
// busy bar and Cancel enabled.
class ProgressView {
public:
    // The bar's positions run from 0 to the whole.
    static constexpr int BarSteps = 1000;

    virtual void setBytesLine(const std::string& line) = 0;
    // The first position turns the busy bar into a stepped one.
    virtual void setBarPosition(int position) = 0;
    // Cancel greys out for good.
    virtual void disableCancel() = 0;
    // The copy has ended: the window is to close.
    virtual void finish() = 0;

protected:
    ~ProgressView() = default;
};

} // namespace marlo
