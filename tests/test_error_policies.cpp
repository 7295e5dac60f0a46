#include "ErrorPolicies.h"

#include <gtest/gtest.h>

#include <vector>

using namespace marlo;

TEST(ErrorPolicies, NextStatementSkipsFailuresAndCountsAFailedTestAsPassed)
{
    NextStatement onError;
    EXPECT_TRUE(onError.test(Result<bool>(true)));
    EXPECT_FALSE(onError.test(Result<bool>(false)));
    EXPECT_TRUE(onError.test(Result<bool>::failure(429, "cannot create object")));
}

TEST(ErrorPolicies, LeaveHandlerEndsAtTheFirstFailureThroughTheEndSection)
{
    LeaveHandler onError;
    std::vector<std::string> steps;
    OpError seen{-1, "unset"};
    onError.run(
        [&] {
            steps.push_back("first");
            onError.must(Status());
            EXPECT_EQ(onError.must(Result<int>(5)), 5);
            onError.must(Status::failure(32755, "Cancel was selected."));
            steps.push_back("never");
        },
        [&](const OpError& pending) { seen = pending; });
    EXPECT_EQ(steps, std::vector<std::string>{"first"});
    EXPECT_EQ(seen.number, 32755);

    onError.run([&] { steps.push_back("normal end"); },
                [&](const OpError& pending) { seen = pending; });
    EXPECT_EQ(seen.number, 0);
    EXPECT_EQ(seen.description, "");
}
