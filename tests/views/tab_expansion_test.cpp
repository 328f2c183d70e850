#include "views/tab_expansion.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace tab_expansion;

constexpr int TabSize = 4;
constexpr TextEncoding Legacy = TextEncoding::Legacy;
constexpr TextEncoding Utf8 = TextEncoding::Utf8;

TEST(TabExpansionTest, TabAdvancesToTheNextTabStop)
{
    EXPECT_EQ(NextColumn(3, '\t', TabSize), 4);
    EXPECT_EQ(NextColumn(4, '\t', TabSize), 8);
    EXPECT_EQ(NextColumn(0, '\t', TabSize), 4);
    EXPECT_EQ(NextColumn(5, 'x', TabSize), 6);
}

TEST(TabExpansionTest, ColumnOfIndexCountsExpandedColumns)
{
    const std::string_view line = "ab\tc\t\td";
    EXPECT_EQ(ColumnOfIndex(line, 0, TabSize, Legacy), 0);
    EXPECT_EQ(ColumnOfIndex(line, -3, TabSize, Legacy), 0);
    EXPECT_EQ(ColumnOfIndex(line, 2, TabSize, Legacy), 2);
    EXPECT_EQ(ColumnOfIndex(line, 3, TabSize, Legacy), 4);
    EXPECT_EQ(ColumnOfIndex(line, 4, TabSize, Legacy), 5);
    EXPECT_EQ(ColumnOfIndex(line, 5, TabSize, Legacy), 8);
    EXPECT_EQ(ColumnOfIndex(line, 6, TabSize, Legacy), 12);
    EXPECT_EQ(ColumnOfIndex(line, 7, TabSize, Legacy), 13);
    // Past the end the whole line counts, nothing beyond it is read.
    EXPECT_EQ(ColumnOfIndex(line, 100, TabSize, Legacy), 13);
}

TEST(TabExpansionTest, ColumnOfIndexAgreesWithCharacterStepsInLongLines)
{
    // Long lines are measured in stretches of eight plain bytes: a tab, a multi-byte character or an
    // invalid byte at any place in or across a stretch must count as it does on its own.
    struct Case {
        const char* name;
        std::string line;
        TextEncoding encoding;
    };
    const std::string plain = "abcdefghijklmnopqrstuvwxyz0123456789";
    const auto with = [&](std::size_t place, const char* piece) { return plain.substr(0, place) + piece + plain.substr(place); };
    std::vector<Case> cases{{"plain", plain, Legacy}};
    for (std::size_t place : {0u, 5u, 7u, 8u, 15u, 16u, 31u, 35u}) {
        cases.push_back({"tab", with(place, "\t"), Legacy});
        cases.push_back({"two-byte character", with(place, "\xC3\xA9"), Utf8});
        cases.push_back({"wide character", with(place, "\xE4\xB8\xAD"), Utf8});
        cases.push_back({"invalid byte", with(place, "\xFF"), Utf8});
        cases.push_back({"legacy high byte", with(place, "\xE9"), Legacy});
    }
    for (const Case& test : cases) {
        const int length = static_cast<int>(test.line.size());
        int column = 0;
        for (int index = 0; index <= length; index = utf8::NextCharacter(test.line, index, test.encoding)) {
            EXPECT_EQ(ColumnOfIndex(test.line, index, TabSize, test.encoding), column) << test.name << " at " << index;
            if (index == length)
                break;
            column = ColumnAfterCharacter(test.line, index, column, TabSize, test.encoding);
        }
    }
}

TEST(TabExpansionTest, IndexAtColumnEntersATabOnlyInItsFirstPart)
{
    const std::string_view line = "\tx";
    EXPECT_EQ(IndexAtColumn(line, 0, TabSize, Legacy), 0);
    EXPECT_EQ(IndexAtColumn(line, 1, TabSize, Legacy), 0);
    EXPECT_EQ(IndexAtColumn(line, 2, TabSize, Legacy), 0);
    EXPECT_EQ(IndexAtColumn(line, 3, TabSize, Legacy), 1);
    EXPECT_EQ(IndexAtColumn(line, 4, TabSize, Legacy), 1);
    EXPECT_EQ(IndexAtColumn(line, 5, TabSize, Legacy), 2);
    EXPECT_EQ(IndexAtColumn(line, 9, TabSize, Legacy), 2);
}

TEST(TabExpansionTest, IndexAtColumnOfOrdinaryBytesIsTheByteStartingThere)
{
    const std::string_view line = "hello";
    for (int column = 0; column <= 5; ++column)
        EXPECT_EQ(IndexAtColumn(line, column, TabSize, Legacy), column);
    EXPECT_EQ(IndexAtColumn(line, 7, TabSize, Legacy), 5);
    EXPECT_EQ(IndexAtColumn("", 3, TabSize, Legacy), 0);
    EXPECT_EQ(IndexAtColumn(line, -2, TabSize, Legacy), 0);
}

TEST(TabExpansionTest, ExpandTabsUsesTheColumnsOfTheWholeLine)
{
    EXPECT_EQ(ExpandTabs("abc\td", 0, 5, TabSize, Legacy), "abc d");
    EXPECT_EQ(ExpandTabs("abcd\te", 0, 6, TabSize, Legacy), "abcd    e");
    // A run starting in the middle of the line keeps the line's tab stops.
    EXPECT_EQ(ExpandTabs("abc\td", 3, 2, TabSize, Legacy), " d");
    EXPECT_EQ(ExpandTabs("a\t\tb", 2, 2, TabSize, Legacy), "    b");
    EXPECT_EQ(ExpandTabs("abc", 1, 1, TabSize, Legacy), "b");
}

TEST(TabExpansionTest, ExpandTabsOfNothingIsEmpty)
{
    EXPECT_EQ(ExpandTabs("abc", 0, 0, TabSize, Legacy), "");
    EXPECT_EQ(ExpandTabs("abc", 1, -4, TabSize, Legacy), "");
    EXPECT_EQ(ExpandTabs("", 0, 3, TabSize, Legacy), "");
    // A run reaching past the line is cut at its end.
    EXPECT_EQ(ExpandTabs("ab\t", 1, 10, TabSize, Legacy), "b  ");
}

TEST(TabExpansionTest, ExpansionLengthMatchesTheColumns)
{
    const std::string_view line = "\ta\tbc\t\t def\t";
    for (int offset = 0; offset <= static_cast<int>(line.size()); ++offset) {
        for (int count = 0; offset + count <= static_cast<int>(line.size()); ++count) {
            const auto expected = ColumnOfIndex(line, offset + count, TabSize, Legacy) - ColumnOfIndex(line, offset, TabSize, Legacy);
            EXPECT_EQ(static_cast<int>(ExpandTabs(line, offset, count, TabSize, Legacy).size()), expected)
                << offset << "," << count;
        }
    }
}

// "a", "é", a tab, "中" (wide), an invalid byte, "b": columns 0, 1, 2, 4, 6, 7; end 8.
const std::string_view Utf8Line = "a\xC3\xA9\t\xE4\xB8\xAD\xFF" "b";

TEST(TabExpansionTest, Utf8CharactersTakeTheirCellsAndAnIndexInsideOneCountsItWhole)
{
    const std::vector<std::pair<int, int>> indexAndColumn{{0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 4}, {5, 6},
                                                          {6, 6}, {7, 6}, {8, 7}, {9, 8}};
    for (const auto& [index, column] : indexAndColumn)
        EXPECT_EQ(ColumnOfIndex(Utf8Line, index, TabSize, Utf8), column) << index;
    // Read as legacy bytes every byte is a cell of its own.
    EXPECT_EQ(ColumnOfIndex(Utf8Line, 9, TabSize, Legacy), 9);
}

TEST(TabExpansionTest, Utf8ColumnsMapBackToCharacterStarts)
{
    // Column -> index for the caret (wide characters are entered in their first cell) and for a
    // point on the screen (the character covering the column).
    struct Case {
        int column;
        int caretIndex;
        int coveringIndex;
    };
    const std::vector<Case> cases{{0, 0, 0}, {1, 1, 1}, {2, 3, 3}, {3, 4, 3}, {4, 4, 4},
                                  {5, 4, 4}, {6, 7, 7}, {7, 8, 8}, {8, 9, 9}, {20, 9, 9}};
    for (const Case& testCase : cases) {
        EXPECT_EQ(IndexAtColumn(Utf8Line, testCase.column, TabSize, Utf8), testCase.caretIndex) << testCase.column;
        EXPECT_EQ(IndexCoveringColumn(Utf8Line, testCase.column, TabSize, Utf8), testCase.coveringIndex) << testCase.column;
    }
}

TEST(TabExpansionTest, Utf8ExpansionKeepsSequencesAndMarksInvalidBytes)
{
    EXPECT_EQ(ExpandTabs(Utf8Line, 0, 9, TabSize, Utf8), "a\xC3\xA9  \xE4\xB8\xAD\xEF\xBF\xBD" "b");
    // A run starting inside a character leaves it to the run before.
    EXPECT_EQ(ExpandTabs(Utf8Line, 2, 3, TabSize, Utf8), "  \xE4\xB8\xAD");
    EXPECT_EQ(ExpandTabs(Utf8Line, 0, 2, TabSize, Utf8), "a\xC3\xA9");
    EXPECT_EQ(ExpandTabs(Utf8Line, 7, 2, TabSize, Utf8), "\xEF\xBF\xBD" "b");
}

} // namespace
