#include "views/tab_expansion.h"

#include <gtest/gtest.h>

namespace {

using namespace tab_expansion;

constexpr int TabSize = 4;

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
    EXPECT_EQ(ColumnOfIndex(line, 0, TabSize), 0);
    EXPECT_EQ(ColumnOfIndex(line, -3, TabSize), 0);
    EXPECT_EQ(ColumnOfIndex(line, 2, TabSize), 2);
    EXPECT_EQ(ColumnOfIndex(line, 3, TabSize), 4);
    EXPECT_EQ(ColumnOfIndex(line, 4, TabSize), 5);
    EXPECT_EQ(ColumnOfIndex(line, 5, TabSize), 8);
    EXPECT_EQ(ColumnOfIndex(line, 6, TabSize), 12);
    EXPECT_EQ(ColumnOfIndex(line, 7, TabSize), 13);
    // Past the end the whole line counts, nothing beyond it is read.
    EXPECT_EQ(ColumnOfIndex(line, 100, TabSize), 13);
}

TEST(TabExpansionTest, IndexAtColumnEntersATabOnlyInItsFirstPart)
{
    const std::string_view line = "\tx";
    EXPECT_EQ(IndexAtColumn(line, 0, TabSize), 0);
    EXPECT_EQ(IndexAtColumn(line, 1, TabSize), 0);
    EXPECT_EQ(IndexAtColumn(line, 2, TabSize), 0);
    EXPECT_EQ(IndexAtColumn(line, 3, TabSize), 1);
    EXPECT_EQ(IndexAtColumn(line, 4, TabSize), 1);
    EXPECT_EQ(IndexAtColumn(line, 5, TabSize), 2);
    EXPECT_EQ(IndexAtColumn(line, 9, TabSize), 2);
}

TEST(TabExpansionTest, IndexAtColumnOfOrdinaryBytesIsTheByteStartingThere)
{
    const std::string_view line = "hello";
    for (int column = 0; column <= 5; ++column)
        EXPECT_EQ(IndexAtColumn(line, column, TabSize), column);
    EXPECT_EQ(IndexAtColumn(line, 7, TabSize), 5);
    EXPECT_EQ(IndexAtColumn("", 3, TabSize), 0);
    EXPECT_EQ(IndexAtColumn(line, -2, TabSize), 0);
}

TEST(TabExpansionTest, ExpandTabsUsesTheColumnsOfTheWholeLine)
{
    EXPECT_EQ(ExpandTabs("abc\td", 0, 5, TabSize), "abc d");
    EXPECT_EQ(ExpandTabs("abcd\te", 0, 6, TabSize), "abcd    e");
    // A run starting in the middle of the line keeps the line's tab stops.
    EXPECT_EQ(ExpandTabs("abc\td", 3, 2, TabSize), " d");
    EXPECT_EQ(ExpandTabs("a\t\tb", 2, 2, TabSize), "    b");
    EXPECT_EQ(ExpandTabs("abc", 1, 1, TabSize), "b");
}

TEST(TabExpansionTest, ExpandTabsOfNothingIsEmpty)
{
    EXPECT_EQ(ExpandTabs("abc", 0, 0, TabSize), "");
    EXPECT_EQ(ExpandTabs("abc", 1, -4, TabSize), "");
    EXPECT_EQ(ExpandTabs("", 0, 3, TabSize), "");
    // A run reaching past the line is cut at its end.
    EXPECT_EQ(ExpandTabs("ab\t", 1, 10, TabSize), "b  ");
}

TEST(TabExpansionTest, ExpansionLengthMatchesTheColumns)
{
    const std::string_view line = "\ta\tbc\t\t def\t";
    for (int offset = 0; offset <= static_cast<int>(line.size()); ++offset) {
        for (int count = 0; offset + count <= static_cast<int>(line.size()); ++count) {
            const auto expected = ColumnOfIndex(line, offset + count, TabSize) - ColumnOfIndex(line, offset, TabSize);
            EXPECT_EQ(static_cast<int>(ExpandTabs(line, offset, count, TabSize).size()), expected)
                << offset << "," << count;
        }
    }
}

} // namespace
