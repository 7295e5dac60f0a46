#include "CloseWhenIdle.h"

#include <gtest/gtest.h>

#include <array>

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

    // A handler run from another's pump leaves the close to the outer one.
    int closes = 0;
    const auto close = [&] { ++closes; };
    gate.runHandler(
        [&] {
            gate.runHandler([&] { EXPECT_FALSE(gate.closeNow()); }, close);
            EXPECT_EQ(closes, 0);
        },
        close);
    EXPECT_EQ(closes, 1);
}

// A log-off refused during a command closes the window after it, unless
// the log-off was cancelled; a close the user asked for stays either way.
TEST(CloseWhenIdle, ACloseKeptForTheSessionIsDroppedWhenTheSessionGoesOn)
{
    for (const auto [userAsked, cancelled, closes] :
         {std::array{false, false, true}, {false, true, false}, {true, true, true}}) {
        CloseWhenIdle gate;
        bool closed = false;
        gate.runHandler(
            [&] {
                EXPECT_EQ(userAsked && gate.closeNow(), false);
                gate.keepCloseForSession();
                if (cancelled)
                    gate.sessionGoesOn();
            },
            [&] { closed = true; });
        EXPECT_EQ(closed, closes) << userAsked << cancelled;
    }
    CloseWhenIdle idle;
    idle.keepCloseForSession();
    EXPECT_FALSE(idle.takeKeptClose()) << "an idle window ends with the session at once";
}

} // namespace
} // namespace marlo
