#include "buffer_test_support.h"

#include <gtest/gtest.h>

namespace {

TextPosition Adjusted(const TextChange& change, TextPosition position)
{
    change.AdjustPosition(position);
    return position;
}

// Text inserted at (char 4, line 2) that ends at (char 3, line 4): two lines were added.
TEST(InsertionChangeTest, MovesPositionsBehindTheInsertionPoint)
{
    const InsertionChange change({4, 2}, {3, 4});
    EXPECT_EQ(Adjusted(change, {9, 1}), (TextPosition{9, 1})) << "earlier line";
    EXPECT_EQ(Adjusted(change, {7, 5}), (TextPosition{7, 7})) << "later line";
    EXPECT_EQ(Adjusted(change, {4, 2}), (TextPosition{4, 2})) << "exactly at the insertion point";
    EXPECT_EQ(Adjusted(change, {1, 2}), (TextPosition{1, 2})) << "before it on the same line";
    EXPECT_EQ(Adjusted(change, {6, 2}), (TextPosition{5, 4})) << "after it on the same line";
}

TEST(InsertionChangeTest, WithinOneLineShiftsTheRestOfTheLine)
{
    const InsertionChange change({2, 0}, {5, 0});
    EXPECT_EQ(Adjusted(change, {3, 0}), (TextPosition{6, 0}));
    EXPECT_EQ(Adjusted(change, {0, 1}), (TextPosition{0, 1}));
}

// The removed text ran from (char 5, line 3) to (char 2, line 5).
TEST(DeletionChangeTest, CollapsesPositionsInsideTheRangeAndShiftsThoseBehind)
{
    const DeletionChange change({5, 3}, {2, 5});
    EXPECT_EQ(Adjusted(change, {8, 2}), (TextPosition{8, 2})) << "earlier line";
    EXPECT_EQ(Adjusted(change, {1, 9}), (TextPosition{1, 7})) << "later line";
    EXPECT_EQ(Adjusted(change, {2, 5}), (TextPosition{5, 3})) << "at the end of the range";
    EXPECT_EQ(Adjusted(change, {6, 5}), (TextPosition{9, 3})) << "behind the range on its end line";
    EXPECT_EQ(Adjusted(change, {1, 5}), (TextPosition{5, 3})) << "inside, on the end line";
    EXPECT_EQ(Adjusted(change, {0, 4}), (TextPosition{5, 3})) << "inside, on a middle line";
    EXPECT_EQ(Adjusted(change, {7, 3}), (TextPosition{5, 3})) << "inside, on the start line";
    EXPECT_EQ(Adjusted(change, {3, 3}), (TextPosition{3, 3})) << "before the range on its start line";
}

TEST(DeletionChangeTest, WithinOneLine)
{
    const DeletionChange change({2, 1}, {6, 1});
    EXPECT_EQ(Adjusted(change, {4, 1}), (TextPosition{2, 1}));
    EXPECT_EQ(Adjusted(change, {8, 1}), (TextPosition{4, 1}));
    EXPECT_EQ(Adjusted(change, {1, 1}), (TextPosition{1, 1}));
}

TEST(TextPositionTest, OrdersByLineThenCharacter)
{
    EXPECT_LT((TextPosition{9, 1}), (TextPosition{0, 2}));
    EXPECT_LT((TextPosition{1, 2}), (TextPosition{3, 2}));
    EXPECT_EQ((TextPosition{3, 2}), (TextPosition{3, 2}));
}

}  // namespace
