#include "views/line_matcher.h"
#include "views/search_flags.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace SearchFlags;

struct FindInLineCase {
    std::string line;
    std::string text;
    WordMatch wordMatch;
    int expected;
};

TEST(FindInLineTest, FindsTheFirstAcceptableOccurrence)
{
    const FindInLineCase cases[] = {
        {"abc abc", "abc", WordMatch::Anywhere, 0},
        {"xab ab", "ab", WordMatch::WholeWord, 4},
        {"ab_c", "ab", WordMatch::WholeWord, -1},
        {"aab", "ab", WordMatch::WholeWord, -1},
        {"a-b ab.", "ab", WordMatch::WholeWord, 4},
        {"anything", "", WordMatch::Anywhere, 0},
        {"", "x", WordMatch::Anywhere, -1},
        // Bytes after a zero byte are searched too.
        {std::string("a\0needle", 8), "needle", WordMatch::Anywhere, 2},
        // A non-ASCII letter belongs to the word around it.
        {"caf\xC3\xA9 caf", "caf", WordMatch::WholeWord, 6},
    };
    for (const auto& [line, text, wordMatch, expected] : cases)
        EXPECT_EQ(FindInLine(line, text, wordMatch), expected) << line << " / " << text;
}

struct MatcherCase {
    const char* name;
    std::string text;
    std::uint32_t flags;
    TextEncoding encoding;
    std::string line;
    int from;
    std::optional<LineMatch> expected;
};

TEST(LineMatcherTest, FindFirstHonoursEveryOption)
{
    const MatcherCase cases[] = {
        {"case folded", "FOO", 0, TextEncoding::Utf8, "a Foo", 0, LineMatch{2, 3}},
        {"case kept", "FOO", FindMatchCase, TextEncoding::Utf8, "a Foo", 0, std::nullopt},
        {"from offset", "ab", FindMatchCase, TextEncoding::Utf8, "ab ab", 1, LineMatch{3, 2}},
        {"UTF-8 letters fold", "\xC3\x89T\xC3\x89", 0, TextEncoding::Utf8, "l'\xC3\xA9t\xC3\xA9", 0, LineMatch{2, 5}},
        {"UTF-8 fold changes length", "i", 0, TextEncoding::Utf8, "x\xC4\xB0y", 0, LineMatch{1, 2}},
        {"Kelvin sign folds to k", "ok", 0, TextEncoding::Utf8, "o\xE2\x84\xAA ok", 0, LineMatch{0, 4}},
        {"ASCII text in a UTF-8 line", "Na", 0, TextEncoding::Utf8, "\xC3\xA9 nA", 0, LineMatch{3, 2}},
        {"non-ASCII text in an ASCII line", "\xC3\xA9", 0, TextEncoding::Utf8, "e E", 0, std::nullopt},
        {"legacy folds ASCII only", "\xC9T\xC9", 0, TextEncoding::Legacy, "\xE9t\xE9 \xC9t\xC9", 0, LineMatch{4, 3}},
        {"invalid bytes kept", "a\xFF", 0, TextEncoding::Utf8, "\xFF" "A\xFF", 0, LineMatch{1, 2}},
        {"no match inside a character", "\xA9", 0, TextEncoding::Utf8, "\xC3\xA9", 0, std::nullopt},
        {"whole word folded", "ab", FindWholeWord, TextEncoding::Utf8, "AB_ Ab", 0, LineMatch{4, 2}},
        {"regex", "b+c", FindRegularExpression, TextEncoding::Utf8, "abbbc", 0, LineMatch{1, 4}},
        {"regex caseless", "B+C", FindRegularExpression, TextEncoding::Utf8, "abbbc", 0, LineMatch{1, 4}},
        {"regex case kept", "B+C", FindRegularExpression | FindMatchCase, TextEncoding::Utf8, "abbbc", 0, std::nullopt},
        {"regex anchor is the line start", "^a", FindRegularExpression, TextEncoding::Utf8, "aXa", 1, std::nullopt},
        {"regex end anchor", "a$", FindRegularExpression, TextEncoding::Utf8, "aXa", 0, LineMatch{2, 1}},
        {"regex empty line", "^$", FindRegularExpression, TextEncoding::Utf8, "", 0, LineMatch{0, 0}},
        {"regex whole word", "a\\w", FindRegularExpression | FindWholeWord, TextEncoding::Utf8, "xab ab", 0, LineMatch{4, 2}},
        {"regex one UTF-8 character", "caf.$", FindRegularExpression, TextEncoding::Utf8, "caf\xC3\xA9", 0, LineMatch{0, 5}},
        {"regex over invalid bytes", "b", FindRegularExpression, TextEncoding::Utf8, "\xFF\xC3" "b", 0, LineMatch{2, 1}},
        {"regex legacy bytes", "caf.$", FindRegularExpression, TextEncoding::Legacy, "caf\xE9", 0, LineMatch{0, 4}},
    };
    for (const auto& testCase : cases) {
        const LineMatcher matcher(testCase.text, testCase.flags, testCase.encoding);
        EXPECT_EQ(matcher.FindFirst(testCase.line, testCase.from), testCase.expected) << testCase.name;
    }
}

TEST(LineMatcherTest, FindLastTakesTheNearestMatchBeforeAPosition)
{
    const LineMatcher matcher("ab", 0, TextEncoding::Utf8);
    EXPECT_EQ(matcher.FindLast("ab ab ab", 6), (LineMatch{3, 2}));
    EXPECT_EQ(matcher.FindLast("ab ab ab", 100), (LineMatch{6, 2}));
    EXPECT_EQ(matcher.FindLast("ab ab ab", 0), std::nullopt);
    const LineMatcher word("ab", FindWholeWord, TextEncoding::Utf8);
    EXPECT_EQ(word.FindLast("ab xab abx", 100), (LineMatch{0, 2}));
}

TEST(LineMatcherTest, SubstituteExpandsGroupsOfAPattern)
{
    struct Case {
        std::string pattern;
        std::uint32_t flags;
        std::string line;
        std::string replacement;
        std::string expected;
    };
    const Case cases[] = {
        {"(\\w+)=(\\w+)", FindRegularExpression, "x a=b", "$2=$1", "b=a"},
        {"(\\w+)=(\\w+)", FindRegularExpression, "x a=b", "[$0] $$1 $", "[a=b] $1 $"},
        {"(a)|(b)", FindRegularExpression, "b", "<$1|$2|$9>", "<|b|>"},
        {"(a)(b)", FindRegularExpression, "ab", "$1\\n$2 \\\\n", "a\r\nb \\n"},
        {"a=b", 0, "x a=b", "$1 stays", "$1 stays"},
    };
    for (const auto& [pattern, flags, line, replacement, expected] : cases) {
        const LineMatcher matcher(pattern, flags, TextEncoding::Utf8);
        const std::optional<LineMatch> match = matcher.FindFirst(line, 0);
        ASSERT_TRUE(match) << pattern;
        EXPECT_EQ(matcher.Substitute(line, *match, replacement), expected) << pattern << " -> " << replacement;
    }
}

TEST(LineMatcherTest, InvalidPatternNamesThePatternTheReasonAndTheOffset)
{
    try {
        LineMatcher matcher("ab(c", FindRegularExpression, TextEncoding::Utf8);
        FAIL() << "no error";
    } catch (const SearchPatternError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("The regular expression \"ab(c\" is not valid:\nmissing closing parenthesis", 0), 0u) << message;
        EXPECT_NE(message.find("(at offset 4)."), std::string::npos) << message;
    }
}

}  // namespace
