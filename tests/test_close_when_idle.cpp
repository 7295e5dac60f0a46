#include "CloseWhenIdle.h"

#include <gtest/gtest.h>

namespace marlo {
namespace {

// The one rule of both toolkits' windows for a close asked meanwhile.
TEST(CloseWhenIdle, ACloseDuringHandlersWaitsForTheOutermostOneAndIsCarriedOutOnce)
{
    CloseWhenIdle gate;
    EXPECT_TRUE(gate.closeNow()); // idle: at once
    EXPECT_FALSE(gate.takeKeptClose());
    {
        const CloseWhenIdle::Running outer(gate);
        {
            // A handler run from the event pump of another, as a click
            // during the reset.
            const CloseWhenIdle::Running inner(gate);
            EXPECT_FALSE(gate.closeNow());
        }
        EXPECT_FALSE(gate.takeKeptClose()) << "the outer handler still runs";
        EXPECT_TRUE(gate.handlerRunning());
    }
    EXPECT_TRUE(gate.takeKeptClose());
    EXPECT_FALSE(gate.takeKeptClose()) << "once";
}

} // namespace
} // namespace marlo
