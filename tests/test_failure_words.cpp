// The words of the file layers' failures, which the boxes set inside their
// own sentences.
#include "FailureWords.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

using namespace marlo;

namespace {

TEST(FailureWords, EveryFailureHasWordsOfItsOwnThatFitInsideASentence)
{
    std::set<std::string_view> seen;
    for (int kind = 0; kind <= static_cast<int>(FileFailure::Unexpected); ++kind) {
        const std::string_view words = failureWords(static_cast<FileFailure>(kind));
        ASSERT_FALSE(words.empty()) << "failure " << kind;
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(words.front()))) << words;
        EXPECT_NE(words.back(), '.') << words;
        EXPECT_TRUE(seen.insert(words).second) << "told twice: " << words;
    }
}

} // namespace
