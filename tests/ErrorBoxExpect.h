#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace marlo::test {

// The dbtransfer error box (style 16, title "MARLO-Corvane:") as
// TransferOnDisk hands it back: it must have been shown, name the chosen
// file on a line of its own, and give the reason in the file layer's words.
inline ::testing::AssertionResult errorBoxNames(const std::optional<std::string>& box,
                                                const std::string& file, const std::string& reason)
{
    if (!box)
        return ::testing::AssertionFailure() << "no error box was shown";
    if (box->find("\r\n " + file + " \r\n") == std::string::npos)
        return ::testing::AssertionFailure() << "the box does not name " << file << ": " << *box;
    if (box->find(" Reason: " + reason + ". ") == std::string::npos)
        return ::testing::AssertionFailure() << "the box does not say " << reason << ": " << *box;
    return ::testing::AssertionSuccess();
}

} // namespace marlo::test
