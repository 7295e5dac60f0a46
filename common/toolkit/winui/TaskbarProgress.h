#pragma once

#include "WinSystem.h"

#include <functional>
#include <memory>

namespace marlo {

// A long copy's progress on a program's taskbar button, for as long as
// this object lives: its end clears the button, however the copy ended.
class TaskbarProgress {
public:
    virtual ~TaskbarProgress() = default;
    // Under way, its size not yet known.
    virtual void busy() = 0;
    virtual void at(int position, int whole) = 0;
};

// Makes the progress for the button of `window`, the top-level window the
// progress window stands over.
using TaskbarProgressMaker = std::function<std::unique_ptr<TaskbarProgress>(HWND window)>;

// The system's taskbar list, created here, on the calling window thread, so
// that no program start pays for it. Where the system has none (Wine may
// not), the button shows nothing and nothing fails.
std::unique_ptr<TaskbarProgress> systemTaskbarProgress(HWND window);

} // namespace marlo
