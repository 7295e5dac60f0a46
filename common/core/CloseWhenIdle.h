#pragma once

#include <functional>
#include <utility>

namespace marlo {

// When a close asked of a tool's window is carried out. A close asked while
// one of the window's handlers runs (its question, the chooser or a copy is
// open, or the reset is pumping its events) would take the window away
// under that handler: the handler runs to its end instead, its notices
// shown, and the close follows once no handler runs, as the user who asked
// for it expects.
class CloseWhenIdle {
public:
    // Marks a handler of the window as running while it lives.
    class Running {
    public:
        explicit Running(CloseWhenIdle& gate) : gate_(gate) { ++gate_.running_; }
        ~Running() { --gate_.running_; }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        CloseWhenIdle& gate_;
    };

    bool handlerRunning() const { return running_ > 0; }

    // Runs one of the window's handlers, then carries out a close asked
    // while it ran, unless another handler it was run from still runs.
    void runHandler(const std::function<void()>& handler, const std::function<void()>& closeWindow)
    {
        {
            const Running running(*this);
            handler();
        }
        if (takeKeptClose())
            closeWindow();
    }

    // True when the window may close now; otherwise the close is kept for
    // the end of the running handler.
    bool closeNow()
    {
        if (running_ == 0)
            return true;
        kept_ = true;
        return false;
    }

    // The session asks the tool to end (a log-off, a shutdown) while a
    // handler runs: it is refused, and the window closes once no handler
    // runs, unless the session goes on after all.
    void keepCloseForSession()
    {
        if (running_ > 0)
            keptForSession_ = true;
    }
    // The log-off or shutdown was cancelled: the close kept for it is
    // dropped, a close the user asked for stays.
    void sessionGoesOn() { keptForSession_ = false; }

    // Once no handler runs: whether a close was kept for this moment.
    bool takeKeptClose()
    {
        if (running_ > 0)
            return false;
        const bool asked = std::exchange(kept_, false);
        return std::exchange(keptForSession_, false) || asked;
    }

private:
    int running_ = 0;
    bool kept_ = false;
    bool keptForSession_ = false;
};

} // namespace marlo
