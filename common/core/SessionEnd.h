#pragma once

namespace marlo {

// While one lives, the session's request to end the tool (a log-off, a
// shutdown) waits, and the tool ends right after it goes: a change of two
// consecutive steps is never cut between them. Requests come from the host
// (see onSessionEndRequested); where none can arrive it only counts.
class SessionEndDeferred {
public:
    SessionEndDeferred();
    ~SessionEndDeferred();
    SessionEndDeferred(const SessionEndDeferred&) = delete;
    SessionEndDeferred& operator=(const SessionEndDeferred&) = delete;
};

// How the host ends the tool for the request `reason` (its signal number,
// say); it does not return.
using SessionEnder = void (*)(int reason);

// Set once by the host, before requests can arrive.
void setSessionEnder(SessionEnder ender);

// Called by the host when the session asks the tool to end; safe in a signal
// handler. Ends the tool at once unless a change is under way, else answers
// and leaves the end to the deferral.
void onSessionEndRequested(int reason);

} // namespace marlo
