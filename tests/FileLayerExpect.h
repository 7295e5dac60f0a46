#pragma once

#include "FailureWords.h"
#include "Result.h"

#include <gtest/gtest.h>

namespace marlo::test {

// A failure that a user can read: a number and the expected plain words.
inline ::testing::AssertionResult failedWith(const Status& status, const std::string& words)
{
    if (status.ok())
        return ::testing::AssertionFailure() << "succeeded";
    if (status.error().number == 0)
        return ::testing::AssertionFailure() << "failed without a number";
    if (status.error().description != words)
        return ::testing::AssertionFailure()
               << "failed with \"" << status.error().description << "\"";
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult failedWith(const Status& status, FileFailure failure)
{
    return failedWith(status, std::string(failureWords(failure)));
}

} // namespace marlo::test
