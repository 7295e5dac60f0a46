#include "PosixSessionEnd.h"

#include "SessionEnd.h"

#include <csignal>
#include <mutex>

namespace marlo::posix {

namespace {

constexpr int endSignals[] = {SIGTERM, SIGHUP, SIGINT};

// Ends the tool as the signal would have: the exit status says so.
void endBySignal(int signal)
{
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

extern "C" void onEndSignal(int signal)
{
    onSessionEndRequested(signal);
}

} // namespace

void endOnSessionSignals()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        setSessionEnder(endBySignal);
        struct sigaction action {};
        action.sa_handler = onEndSignal;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (int signal : endSignals)
            sigaddset(&action.sa_mask, signal);
        for (int signal : endSignals) {
            // One that the tool was started to ignore (nohup) stays ignored.
            struct sigaction before {};
            if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN)
                continue;
            ::sigaction(signal, &action, nullptr);
        }
    });
}

} // namespace marlo::posix
