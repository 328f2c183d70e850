#include "utils/byte_search.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using utils::Case;
using utils::SearchBytes;

TEST(SearchBytes, FindsTheFirstOccurrenceInShortAndLongTexts)
{
    const std::string filler(5000, 'e');
    struct Case_ {
        std::string text;
        std::string pattern;
        std::size_t from;
        Case comparison;
        std::size_t expected;
    };
    constexpr auto none = std::string::npos;
    const Case_ cases[] = {
        {"the quick fox", "quick", 0, Case::Sensitive, 4},
        {"the quick fox", "QUICK", 0, Case::Sensitive, none},
        {"the quick fox", "QUICK", 0, Case::Insensitive, 4},
        {"the Quick quick", "quick", 5, Case::Insensitive, 10},
        {"aaaa", "aa", 1, Case::Sensitive, 1},
        {"xzx xzz", "xzz", 0, Case::Sensitive, 4},
        {"zebra", "zebra", 1, Case::Insensitive, none},
        {"abc", "abcd", 0, Case::Sensitive, none},
        {"abc", "", 3, Case::Sensitive, 3},
        {"abc", "c", 4, Case::Sensitive, none},
        {"caf\xC3\xA9 CAF\xC3\xA9", "caf\xC3\xA9", 1, Case::Insensitive, 6},
        {"caf\xC3\xA9 CAF\xC3\x89", "caf\xC3\xA9", 1, Case::Insensitive, none},
        {filler + "needle" + filler, "needle", 0, Case::Sensitive, 5000},
        {filler + "NEEDLE" + filler, "needle", 0, Case::Insensitive, 5000},
        {filler + "needle", "needle", 4999, Case::Sensitive, 5000},
    };
    for (const auto& [text, pattern, from, comparison, expected] : cases)
        EXPECT_EQ(SearchBytes(text, pattern, from, comparison), expected) << pattern << " from " << from;
}

}  // namespace
