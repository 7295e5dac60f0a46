#pragma once

#include <functional>

namespace marlo {

// What a Windows program does before it ends with the session while one of
// its commands runs: each step is kept while the work it makes safe runs (a
// copy on its worker is cancelled and waited for, so that its staged
// temporary file is gone). Only the window's thread uses them.
class BeforeSessionEnd {
public:
    explicit BeforeSessionEnd(std::function<void()> step);
    ~BeforeSessionEnd();
    BeforeSessionEnd(const BeforeSessionEnd&) = delete;
    BeforeSessionEnd& operator=(const BeforeSessionEnd&) = delete;

private:
    std::function<void()> step_;
};

// The session ends now, during a command: runs the steps that are kept, the
// newest first, then ends the tool with exit status 1 (onSessionEndRequested).
// The system tells the window at one of its pump points only, so never
// inside a change that must not be cut.
void endWithSession();

// Makes the end of the session end the process (setSessionEnder).
void endProcessWithSession();

} // namespace marlo
