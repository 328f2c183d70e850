#include "utils/string_utils.h"

#include <gtest/gtest.h>

namespace utils {
namespace {

TEST(Wrap, ShortTextIsUnchanged)
{
    EXPECT_EQ(Wrap("short", 10), "short");
    EXPECT_EQ(Wrap("exactly10c", 10), "exactly10c");
    EXPECT_EQ(Wrap("", 10), "");
    EXPECT_EQ(Wrap("no width", 0), "no width");
}

TEST(Wrap, FillsLinesGreedilyBreakingAtBlanks)
{
    EXPECT_EQ(Wrap("aa bb cc dd", 6), "aa bb\r\ncc dd");
    EXPECT_EQ(Wrap("hello world foo", 11), "hello\r\nworld foo");
    EXPECT_EQ(Wrap("one two three four five six", 10), "one two\r\nthree\r\nfour five\r\nsix");
}

TEST(Wrap, PunctuationStaysWithTheWordBeforeIt)
{
    EXPECT_EQ(Wrap("aaa bbb, ccc", 8), "aaa\r\nbbb, ccc");
    EXPECT_EQ(Wrap("x foo-bar.baz y", 9), "x\r\nfoo-bar.baz\r\ny");
}

TEST(Wrap, OverlongWordStaysWholeOnItsOwnLine)
{
    EXPECT_EQ(Wrap("abcdefghij kl", 4), "abcdefghij\r\nkl");
    EXPECT_EQ(Wrap("abcdefghij", 4), "abcdefghij");
    EXPECT_EQ(Wrap("abcdefghij,; kl", 4), "abcdefghij,;\r\nkl");
}

TEST(Wrap, Utf8TextCountsCharactersAndKeepsSequencesWhole)
{
    EXPECT_EQ(Wrap("ab \xc3\xa9\xc3\xa9 cd", 6, TextEncoding::Utf8), "ab \xc3\xa9\xc3\xa9\r\ncd");
    EXPECT_EQ(Wrap("ab \xc3\xa9\xc3\xa9 cd", 6, TextEncoding::Legacy), "ab\r\n\xc3\xa9\xc3\xa9\r\ncd");
    EXPECT_EQ(Wrap("\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac x", 3, TextEncoding::Utf8),
              "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\r\nx");
}

TEST(Wrap, TrailingBlanksAtTheLimitAreDropped)
{
    EXPECT_EQ(Wrap("abc      ", 5), "abc");
}

TEST(Wrap, ExistingLineBreaksStartNewLines)
{
    EXPECT_EQ(Wrap("ab\r\ncd ef gh", 6), "ab\r\ncd ef\r\ngh");
    EXPECT_EQ(Wrap("ab\ncd ef gh", 6), "ab\ncd ef\r\ngh");
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
