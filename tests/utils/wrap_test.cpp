#include "utils/string_utils.h"

#include <gtest/gtest.h>

namespace utils {
namespace {

struct WrapCase {
    const char* behaviour;
    std::string text;
    int width;
    TextEncoding encoding;
    std::string expected;
};

TEST(Wrap, BreaksGreedilyAtBlanksKeepingWordsAndCharactersWhole)
{
    constexpr TextEncoding legacy = TextEncoding::Legacy;
    constexpr TextEncoding utf8 = TextEncoding::Utf8;
    const WrapCase cases[] = {
        {"short text is unchanged", "short", 10, legacy, "short"},
        {"text of exactly the width is unchanged", "exactly10c", 10, legacy, "exactly10c"},
        {"empty text", "", 10, legacy, ""},
        {"width zero wraps nothing", "no width", 0, legacy, "no width"},
        {"fills lines greedily", "aa bb cc dd", 6, legacy, "aa bb\r\ncc dd"},
        {"breaks at the last blank that fits", "hello world foo", 11, legacy, "hello\r\nworld foo"},
        {"many lines", "one two three four five six", 10, legacy, "one two\r\nthree\r\nfour five\r\nsix"},
        {"punctuation stays with the word before it", "aaa bbb, ccc", 8, legacy, "aaa\r\nbbb, ccc"},
        {"no break inside a dotted word", "x foo-bar.baz y", 9, legacy, "x\r\nfoo-bar.baz\r\ny"},
        {"overlong word on its own line", "abcdefghij kl", 4, legacy, "abcdefghij\r\nkl"},
        {"overlong single word", "abcdefghij", 4, legacy, "abcdefghij"},
        {"overlong word keeps its punctuation", "abcdefghij,; kl", 4, legacy, "abcdefghij,;\r\nkl"},
        {"UTF-8 counts characters", "ab \xc3\xa9\xc3\xa9 cd", 6, utf8, "ab \xc3\xa9\xc3\xa9\r\ncd"},
        {"legacy counts bytes", "ab \xc3\xa9\xc3\xa9 cd", 6, legacy, "ab\r\n\xc3\xa9\xc3\xa9\r\ncd"},
        {"UTF-8 sequences stay whole", "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac x", 3, utf8,
         "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\r\nx"},
        {"trailing blanks at the limit are dropped", "abc      ", 5, legacy, "abc"},
        {"CR LF starts a new line", "ab\r\ncd ef gh", 6, legacy, "ab\r\ncd ef\r\ngh"},
        {"LF starts a new line", "ab\ncd ef gh", 6, legacy, "ab\ncd ef\r\ngh"},
    };
    for (const WrapCase& testCase : cases) {
        SCOPED_TRACE(testCase.behaviour);
        EXPECT_EQ(Wrap(testCase.text, testCase.width, testCase.encoding), testCase.expected);
    }
}

TEST(Wrap, EveryLineOfALongTextFitsTheWidth)
{
    std::string text;
    for (int word = 0; word < 200; ++word)
        text += "word" + std::to_string(word) + (word % 7 == 0 ? ", " : " ");
    const std::string wrapped = Wrap(text, 50);
    std::size_t lineStart = 0;
    int lines = 0;
    while (lineStart < wrapped.size()) {
        std::size_t lineEnd = wrapped.find("\r\n", lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = wrapped.size();
        EXPECT_LE(lineEnd - lineStart, 50u);
        EXPECT_NE(wrapped[lineStart], ' ');
        lineStart = lineEnd + 2;
        ++lines;
    }
    EXPECT_GT(lines, 20);
    EXPECT_EQ(CollapseWhitespace(wrapped), CollapseWhitespace(text));
}

}  // namespace
}  // namespace utils
