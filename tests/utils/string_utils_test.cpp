#include "utils/string_utils.h"

#include <gtest/gtest.h>

#include <sstream>

namespace utils {
namespace {

using Fields = std::vector<std::string>;

TEST(PathPieces, ExtensionIsTextAfterLastDotEvenInDirectoryNames)
{
    EXPECT_EQ(FileExtension("C:\\dir.old\\file"), "old\\file");
    EXPECT_EQ(FileExtension("paper.tex"), "tex");
    EXPECT_EQ(FileExtension("archive.tar.gz"), "gz");
    EXPECT_EQ(FileExtension("/home/user/Makefile"), "");
}

TEST(PathPieces, FileNameAndDirectoryAcceptBothSeparators)
{
    EXPECT_EQ(FileName("C:\\a\\b.tex", Extension::Remove), "b");
    EXPECT_EQ(FileName("C:\\a\\b.tex"), "b.tex");
    EXPECT_EQ(FileName("/home/user/paper.tex", Extension::Remove), "paper");
    EXPECT_EQ(FileName("a/b\\c.d.e", Extension::Remove), "c.d");
    EXPECT_EQ(FileName("noseparator"), "noseparator");
    EXPECT_EQ(FileName("dir/"), "");
    EXPECT_EQ(DirectoryPart("file.txt"), "");
    EXPECT_EQ(DirectoryPart("a/b\\c.d"), "a/b");
    EXPECT_EQ(DirectoryPart("/paper.tex"), "");
    EXPECT_EQ(DirectoryPart("/home/user/paper.tex"), "/home/user");
}

TEST(PrefixAndSuffix, CaseSwitchDecidesComparison)
{
    EXPECT_TRUE(StartsWith("TORVEL server 1.0", "TORVEL server"));
    EXPECT_FALSE(StartsWith("torvel server 1.0", "TORVEL server"));
    EXPECT_TRUE(StartsWith("torvel server 1.0", "TORVEL server", Case::Insensitive));
    EXPECT_FALSE(StartsWith("TORVEL", "TORVEL server"));
    EXPECT_TRUE(EndsWith("page.HTML", ".html", Case::Insensitive));
    EXPECT_FALSE(EndsWith("page.HTML", ".html"));
    EXPECT_FALSE(EndsWith("ml", ".html"));
    EXPECT_TRUE(StartsWith("anything", ""));
}

TEST(PrefixAndSuffix, SingleCharacterTestsAreFalseForEmptyText)
{
    EXPECT_FALSE(StartsWithCharacter("", 'a'));
    EXPECT_FALSE(EndsWithCharacter("", 'a'));
    EXPECT_TRUE(StartsWithCharacter("abc", 'A', Case::Insensitive));
    EXPECT_FALSE(StartsWithCharacter("abc", 'A'));
    EXPECT_TRUE(EndsWithCharacter("abc", 'c'));
}

TEST(PrefixAndSuffix, RemovalOnlyWhenPresent)
{
    EXPECT_EQ(RemovePrefix("http://host/page", "HTTP://", Case::Insensitive), "host/page");
    EXPECT_EQ(RemovePrefix("http://host/page", "HTTP://"), "http://host/page");
    EXPECT_EQ(RemoveSuffix("paper.tex", ".tex"), "paper");
    EXPECT_EQ(RemoveSuffix("paper.bib", ".tex"), "paper.bib");
    EXPECT_EQ(RemoveTrailingCharacter("C:\\dir\\", '\\'), "C:\\dir");
    EXPECT_EQ(RemoveTrailingCharacter("line\r", '\r'), "line");
    EXPECT_EQ(RemoveTrailingCharacter("line", '\r'), "line");
    EXPECT_EQ(RemoveTrailingCharacter("", '\r'), "");
}

TEST(Whitespace, TrimAndCollapse)
{
    EXPECT_EQ(Trim(std::string(kWhitespace)), "");
    EXPECT_EQ(Trim(" \t value \r\n"), "value");
    EXPECT_EQ(Trim("--x--", "-"), "x");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(CollapseWhitespace("   leading  doubled\r\nbroken\tline  "), "leading doubled broken line");
    EXPECT_EQ(CollapseWhitespace(" \r\n "), "");
    EXPECT_EQ(CollapseWhitespace("a,,b", ","), "a b");
}

TEST(CaseConversion, OnlyAsciiLettersChange)
{
    EXPECT_EQ(ToLowerCase("Paper.TEX \xC9"), "paper.tex \xC9");
    EXPECT_EQ(ToUpperCase("abc\xE9z"), "ABC\xE9Z");
    EXPECT_TRUE(EqualIgnoringCase("Index", "INDEX"));
    EXPECT_FALSE(EqualIgnoringCase("Index", "Indexes"));
    EXPECT_FALSE(EqualIgnoringCase("\xE9", "\xC9"));
}

TEST(CharacterTests, IdentifiersAreAscii)
{
    EXPECT_TRUE(IsIdentifierStart('_'));
    EXPECT_TRUE(IsIdentifierStart('Q'));
    EXPECT_FALSE(IsIdentifierStart('1'));
    EXPECT_TRUE(IsIdentifierCharacter('1'));
    EXPECT_FALSE(IsIdentifierCharacter('-'));
    EXPECT_FALSE(IsIdentifierCharacter('\xE9'));
}

TEST(Translate, ReplacesByIndex)
{
    EXPECT_EQ(Translate("a\\b\\c", "\\", "/"), "a/b/c");
    EXPECT_EQ(Translate("a-b_c", "-_", "  "), "a b c");
    EXPECT_EQ(Translate("abc", "", ""), "abc");
}

TEST(Find, HonoursStartAndCase)
{
    EXPECT_EQ(Find("xxABCabc", "abc"), 5u);
    EXPECT_EQ(Find("xxABCabc", "abc", 0, Case::Insensitive), 2u);
    EXPECT_EQ(Find("abcabc", "abc", 1), 3u);
    EXPECT_EQ(Find("abc", "abc", 1), std::string::npos);
    EXPECT_EQ(Find("abc", "abc", 10), std::string::npos);
    EXPECT_EQ(Find("ab", "abc", 0, Case::Insensitive), std::string::npos);
}

TEST(ReplaceAll, InsertedTextIsNotSearchedAgain)
{
    EXPECT_EQ(ReplaceAll("aXa", "a", "aa"), "aaXaa");
    EXPECT_EQ(ReplaceAll("first\r\nsecond", "\r\n", "\r\n  "), "first\r\n  second");
    EXPECT_EQ(ReplaceAll("AxaX", "x", "-", Case::Insensitive), "A-a-");
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("abc", "b", ""), "ac");
}

TEST(LineBreaks, LengthOfPairsAndSingles)
{
    EXPECT_EQ(LineBreakLength('\r', '\n'), 2);
    EXPECT_EQ(LineBreakLength('\n', '\r'), 2);
    EXPECT_EQ(LineBreakLength('\r', '\r'), 1);
    EXPECT_EQ(LineBreakLength('\n', 'x'), 1);
    EXPECT_EQ(LineBreakLength('x', '\n'), 0);
    EXPECT_EQ(LineBreakLengthAt("a\r\nb", 1), 2);
    EXPECT_EQ(LineBreakLengthAt("a\r", 1), 1);
    EXPECT_EQ(LineBreakLengthAt("a\n", 1), 1);
    EXPECT_EQ(LineBreakLengthAt("a\n", 2), 0);
    EXPECT_EQ(LineBreakLengthAt("a\n", 99), 0);
    EXPECT_EQ(LineBreakLengthAt("ab", 0), 0);
}

TEST(ReadLine, DropsCarriageReturns)
{
    std::istringstream stream("one\r\ntwo\nthr\ree");
    EXPECT_EQ(ReadLine(stream), "one");
    EXPECT_EQ(ReadLine(stream), "two");
    EXPECT_EQ(ReadLine(stream), "three");
    EXPECT_TRUE(stream.eof());
}

TEST(SplitFields, QuotesProtectSeparatorsAndAreDropped)
{
    EXPECT_EQ(SplitFields("\"C:\\Program Files\\Viewer\\view.exe\" \"%1\"", ' '),
              (Fields{"C:\\Program Files\\Viewer\\view.exe", "%1"}));
    EXPECT_EQ(SplitFields("\"a,b\",c", ','), (Fields{"a,b", "c"}));
    EXPECT_EQ(SplitFields("x\"y z\"w", ' '), (Fields{"xy zw"}));
}

TEST(SplitFields, TwoQuotesOutsideQuotesAreOneLiteralQuote)
{
    EXPECT_EQ(SplitFields("\xE4|\\\"\"{a}", '|'), (Fields{"\xE4", "\\\"{a}"}));
    EXPECT_EQ(SplitFields("\"\"", ' '), (Fields{"\""}));
    // Inside quotes a quote ends the quoted part; the next one starts a new one.
    EXPECT_EQ(SplitFields("\"a\"\"b\"", ' '), (Fields{"ab"}));
}

TEST(SplitFields, EmptyFieldsRemainButEmptyTextHasNone)
{
    EXPECT_TRUE(SplitFields("", ':').empty());
    EXPECT_EQ(SplitFields("a,,b,", ','), (Fields{"a", "", "b", ""}));
    EXPECT_EQ(SplitFields(":", ':'), (Fields{"", ""}));
    EXPECT_EQ(SplitFields("\"unterminated, quote", ','), (Fields{"unterminated, quote"}));
}

TEST(SplitFields, FieldByIndex)
{
    EXPECT_EQ(Field("file:250", 1, ':'), "250");
    EXPECT_EQ(Field("file:250", 0, ':'), "file");
    EXPECT_EQ(Field("file:250", 2, ':'), "");
    EXPECT_EQ(Field("", 0, ':'), "");
}

TEST(DecimalText, RoundTripsAndToleratesGarbage)
{
    EXPECT_EQ(ToDecimalText(0), "0");
    EXPECT_EQ(ToDecimalText(-42), "-42");
    EXPECT_EQ(ToDecimalText(5000000000LL), "5000000000");
    EXPECT_EQ(FromDecimalText("250"), 250);
    EXPECT_EQ(FromDecimalText(" 17abc"), 17);
    EXPECT_EQ(FromDecimalText("-3"), -3);
    EXPECT_EQ(FromDecimalText("abc"), 0);
    EXPECT_EQ(FromDecimalText(""), 0);
}

}  // namespace
}  // namespace utils
