#pragma once

#include "Result.h"

#include <exception>
#include <utility>

namespace marlo {

// Next-statement error policy: a failing step is skipped and the handler
// goes on with the next one. A failing existence test counts as passed.
class NextStatement {
public:
    // Runs one step; its failure, if any, is dropped.
    void step(const Status&) const {}
    template <class T> void step(const Result<T>&) const {}

    // The answer of a test; a test that could not be made counts as true.
    bool test(const Result<bool>& answer) const { return !answer.ok() || answer.value(); }
};

// Leave-the-handler error policy: the first failing step ends the handler.
// `must` hands back the step's value or leaves the flow; `run` executes the
// flow and passes every end, normal or failed, through the end section with
// the pending error (number 0 when the flow ran to its end).
class LeaveHandler {
public:
    void must(const Status& status) const
    {
        if (!status.ok())
            throw Leave{status.error()};
    }
    template <class T> T must(const Result<T>& result) const
    {
        if (!result.ok())
            throw Leave{result.error()};
        return result.value();
    }

    template <class Flow, class EndSection> void run(Flow&& flow, EndSection&& end) const
    {
        OpError pending;
        try {
            std::forward<Flow>(flow)();
        } catch (const Leave& leave) {
            pending = leave.error;
        }
        std::forward<EndSection>(end)(pending);
    }

private:
    struct Leave : std::exception {
        explicit Leave(OpError e) : error(std::move(e)) {}
        OpError error;
    };
};

} // namespace marlo
