// A request of the session to end the tool ends it at once, except inside a
// change that must not be cut: then right after it.
#include "SessionEnd.h"

#include <gtest/gtest.h>

#include <vector>

using namespace marlo;

namespace {

std::vector<int> endedFor;

void recordEnd(int reason)
{
    endedFor.push_back(reason);
}

} // namespace

TEST(SessionEnd, ARequestEndsAtOnceOutsideAChangeAndAfterItInside)
{
    setSessionEnder(recordEnd);
    onSessionEndRequested(15);
    EXPECT_EQ(endedFor, std::vector<int>{15});

    endedFor.clear();
    {
        const SessionEndDeferred outer;
        {
            const SessionEndDeferred inner;
            onSessionEndRequested(1);
        }
        EXPECT_TRUE(endedFor.empty());
    }
    EXPECT_EQ(endedFor, std::vector<int>{1});

    // Once ended for, a request is not carried over to the next change.
    endedFor.clear();
    {
        const SessionEndDeferred quiet;
    }
    EXPECT_TRUE(endedFor.empty());
    setSessionEnder(nullptr);
}
