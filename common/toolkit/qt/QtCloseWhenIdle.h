#pragma once

#include "CloseWhenIdle.h"

#include <QCloseEvent>
#include <QWidget>

#include <functional>

namespace marlo {

// CloseWhenIdle for a Qt window: the close box, pressed while one of the
// window's handlers runs, closes the window once the handler has returned.
// The tool's own close (Unload, End) goes through at once.
class QtCloseWhenIdle {
public:
    explicit QtCloseWhenIdle(QWidget& window) : window_(window) {}

    void runHandler(const std::function<void()>& handler)
    {
        gate_.runHandler(handler, [this] {
            if (window_.isVisible())
                window_.close();
        });
    }

    // For the window's closeEvent: false, the event ignored, when the close
    // is kept for the end of the running handler.
    bool closeNow(QCloseEvent& event)
    {
        if (!event.spontaneous() || gate_.closeNow())
            return true;
        event.ignore();
        return false;
    }

private:
    QWidget& window_;
    CloseWhenIdle gate_;
};

} // namespace marlo
