#pragma once

#include "Result.h"

#include <optional>
#include <string>

namespace marlo {

// What every window of the toolkit needs: message boxes, the start of the
// main program, the close of the tool's one window and the end of the tool,
// pauses, the event pump and the beep. What a window shows is its own view's
// business. Program logic reaches the screen through nothing else, so it
// runs unchanged on every toolkit and on the recording fake of the tests.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Modal message box. Without a title the box shows the application title.
    // Answers IDOK, IDYES, IDNO or IDCANCEL (Escape and the close box).
    virtual Result<int> MsgBox(const std::string& prompt, int style,
                               const std::optional<std::string>& title) = 0;

    // Starts a program by its bare name without waiting for it; answers a
    // task number.
    virtual Result<int> Shell(const std::string& program, int windowStyle) = 0;

    // Closes and destroys the window; the running handler goes on to its end.
    // The tool then ends with the given exit status.
    virtual void Unload(int exitStatus = 0) = 0;
    // Ends the tool; the caller returns straight away after it.
    virtual void End(int exitStatus = 0) = 0;

    // Blocks the window's thread; the window neither repaints nor reacts.
    virtual void Sleep(int milliseconds) = 0;
    // Runs every pending window event, possibly another handler, then returns.
    virtual void DoEvents() = 0;
    virtual void Beep() = 0;

    // Why a log-off or a shutdown should wait for the tool while a command
    // changes files, in the words the window shows for it; empty once the
    // command has ended. Where the host shows no such reason it is kept to
    // no purpose.
    virtual void SetBusyReason(const std::string& reason) = 0;
};

// Gives the system the reason while it lives (see SetBusyReason).
class BusyReason {
public:
    BusyReason(WindowSystem& windows, const std::string& reason) : windows_(windows)
    {
        windows_.SetBusyReason(reason);
    }
    ~BusyReason() { windows_.SetBusyReason({}); }
    BusyReason(const BusyReason&) = delete;
    BusyReason& operator=(const BusyReason&) = delete;

private:
    WindowSystem& windows_;
};

} // namespace marlo
