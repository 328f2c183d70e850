#include "buffer_test_support.h"

#include "buffer/update_hint.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using buffer_test::Fill;
using buffer_test::Lines;
using buffer_test::RecordingView;
using testing::ElementsAre;

constexpr std::uint32_t WithinLine = UpdateHint::LineWidthChanged | UpdateHint::OneLine;
constexpr std::uint32_t AcrossLines = UpdateHint::LineWidthChanged | UpdateHint::LineCountChanged;
constexpr std::uint32_t FlagChange = UpdateHint::OneLine | UpdateHint::FlagsOnly;

class LineStoreTest : public testing::Test {
protected:
    bool Insert(std::int32_t line, std::int32_t character, std::string_view text)
    {
        return buffer.RawInsertText(&view, line, character, text, endLine, endChar);
    }

    std::string Extract(TextPosition start, TextPosition end, std::string_view lineEnd = "\r\n")
    {
        std::string text;
        buffer.ExtractText(start.line, start.character, end.line, end.character, text, lineEnd);
        return text;
    }

    CQuillTextBuffer buffer;
    RecordingView view;
    std::int32_t endLine = -1;
    std::int32_t endChar = -1;
};

TEST_F(LineStoreTest, CreateEmptyHoldsOneEmptyLineAndResetsTheViews)
{
    EXPECT_FALSE(buffer.IsInitialised());
    EXPECT_EQ(buffer.LineCount(), 0);
    buffer.AttachView(&view);
    EXPECT_TRUE(buffer.CreateEmpty(LineEndingStyle::CrLf));
    EXPECT_TRUE(buffer.IsInitialised());
    EXPECT_THAT(Lines(buffer), ElementsAre(""));
    EXPECT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::CrLf);
    ASSERT_EQ(view.notifications.size(), 1u);
    EXPECT_EQ(view.notifications[0].hints, UpdateHint::ContentReset);
    EXPECT_EQ(view.notifications[0].line, -1);
    EXPECT_FALSE(view.notifications[0].hasChange);
}

TEST_F(LineStoreTest, CreateEmptyWithAutomaticStyleTakesTheNativeOne)
{
    buffer.CreateEmpty(LineEndingStyle::Automatic);
    EXPECT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::Lf);
}

TEST_F(LineStoreTest, ClearReturnsToUninitialisedWithoutTellingViews)
{
    Fill(buffer, {"one", "two"});
    buffer.AttachView(&view);
    buffer.Clear();
    EXPECT_FALSE(buffer.IsInitialised());
    EXPECT_EQ(buffer.LineCount(), 0);
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_TRUE(view.notifications.empty());
}

TEST_F(LineStoreTest, CarriageReturnsBreakLinesButABareLineFeedDoesNot)
{
    Fill(buffer, {""});
    buffer.AttachView(&view);
    ASSERT_TRUE(Insert(0, 0, "a\nb"));
    EXPECT_THAT(Lines(buffer), ElementsAre("a\nb"));
    EXPECT_EQ(view.notifications.back().hints, WithinLine);

    Fill(buffer, {""});
    ASSERT_TRUE(Insert(0, 0, "a\r\nb"));
    EXPECT_THAT(Lines(buffer), ElementsAre("a", "b"));
    EXPECT_EQ(view.notifications.back().hints, AcrossLines);
    EXPECT_EQ(view.notifications.back().line, 0);

    Fill(buffer, {""});
    ASSERT_TRUE(Insert(0, 0, "a\rb"));
    EXPECT_THAT(Lines(buffer), ElementsAre("a", "b"));

    Fill(buffer, {""});
    ASSERT_TRUE(Insert(0, 0, "a\r\n\nb\r\r"));
    EXPECT_THAT(Lines(buffer), ElementsAre("a", "\nb", "", ""));
}

TEST_F(LineStoreTest, InsertionKeepsTheRestOfTheLineBehindTheNewText)
{
    Fill(buffer, {"first", "Hello world", "last"});
    ASSERT_TRUE(Insert(1, 6, "big\r\nround "));
    EXPECT_THAT(Lines(buffer), ElementsAre("first", "Hello big", "round world", "last"));
    EXPECT_EQ(endLine, 2);
    EXPECT_EQ(endChar, 6);
}

TEST_F(LineStoreTest, InsertingAnEmptyTextStillNotifiesAndMarksModified)
{
    Fill(buffer, {"abc"});
    buffer.AttachView(&view);
    ASSERT_TRUE(Insert(0, 2, ""));
    EXPECT_THAT(Lines(buffer), ElementsAre("abc"));
    EXPECT_EQ(endLine, 0);
    EXPECT_EQ(endChar, 2);
    ASSERT_EQ(view.notifications.size(), 1u);
    EXPECT_EQ(view.notifications[0].hints, WithinLine);
    EXPECT_EQ(view.notifications[0].source, &view);
    EXPECT_TRUE(buffer.IsModified());
}

TEST_F(LineStoreTest, TextEndingWithALineEndOpensAnEmptyLine)
{
    Fill(buffer, {"abc"});
    ASSERT_TRUE(Insert(0, 3, "def\r\n"));
    EXPECT_THAT(Lines(buffer), ElementsAre("abcdef", ""));
    EXPECT_EQ(endLine, 1);
    EXPECT_EQ(endChar, 0);
}

TEST_F(LineStoreTest, InsertedBytesMayHoldNulBytes)
{
    Fill(buffer, {"ab"});
    ASSERT_TRUE(Insert(0, 1, std::string_view("x\0y", 3)));
    EXPECT_THAT(Lines(buffer), ElementsAre(std::string("ax\0yb", 5)));
}

TEST_F(LineStoreTest, LongLinesGrowWithoutLosingBytes)
{
    Fill(buffer, {""});
    std::string expected;
    for (int round = 0; round < 200; ++round) {
        const std::string piece(static_cast<std::size_t>(round % 23 + 1), static_cast<char>('a' + round % 26));
        ASSERT_TRUE(Insert(0, static_cast<std::int32_t>(expected.size() / 2), piece));
        expected.insert(expected.size() / 2, piece);
    }
    EXPECT_THAT(Lines(buffer), ElementsAre(expected));
}

TEST_F(LineStoreTest, TextCopiedOutOfTheLineItselfCanBeInsertedIntoIt)
{
    Fill(buffer, {"0123456789abcdef"});
    const std::string_view ownBytes(buffer.LineChars(0) + 4, 12);
    ASSERT_TRUE(Insert(0, 2, ownBytes));
    EXPECT_THAT(Lines(buffer), ElementsAre("01456789abcdef23456789abcdef"));
}

TEST_F(LineStoreTest, DeletionAcrossLinesJoinsTheRemainingParts)
{
    Fill(buffer, {"zero", "one", "two", "three line", "four", "fifth line", "six"});
    buffer.AttachView(&view);
    ASSERT_TRUE(buffer.RawDeleteText(&view, 3, 5, 5, 2));
    EXPECT_THAT(Lines(buffer), ElementsAre("zero", "one", "two", "threefth line", "six"));
    ASSERT_EQ(view.notifications.size(), 1u);
    EXPECT_EQ(view.notifications[0].hints, AcrossLines);
    EXPECT_EQ(view.notifications[0].line, 3);
    EXPECT_TRUE(view.notifications[0].hasChange);
}

TEST_F(LineStoreTest, DeletionWithinOneLine)
{
    Fill(buffer, {"abcdef", "next"});
    buffer.AttachView(&view);
    ASSERT_TRUE(buffer.RawDeleteText(nullptr, 0, 1, 0, 4));
    EXPECT_THAT(Lines(buffer), ElementsAre("aef", "next"));
    EXPECT_EQ(view.notifications.back().hints, WithinLine);
    EXPECT_EQ(view.notifications.back().source, nullptr);
    EXPECT_TRUE(buffer.IsModified());
}

TEST_F(LineStoreTest, ViewsMoveTheirPositionsWithTheChanges)
{
    Fill(buffer, {"alpha", "beta", "gamma"});
    buffer.AttachView(&view);
    view.trackedPosition = {2, 1};
    Insert(0, 5, "\r\nnew");
    EXPECT_EQ(view.trackedPosition, (TextPosition{2, 2}));
    buffer.RawDeleteText(nullptr, 0, 3, 2, 1);
    EXPECT_EQ(view.trackedPosition, (TextPosition{4, 0}));
}

TEST_F(LineStoreTest, EveryAttachedViewIsToldInAttachOrderUntilDetached)
{
    Fill(buffer, {"text"});
    RecordingView second;
    std::vector<const RecordingView*> order;
    struct OrderView : RecordingView {
        std::vector<const RecordingView*>* order = nullptr;
        void OnBufferChanged(BufferView* source, const TextChange* change, std::uint32_t hints,
                             std::int32_t line) override
        {
            order->push_back(this);
            RecordingView::OnBufferChanged(source, change, hints, line);
        }
    } first, third;
    first.order = &order;
    third.order = &order;
    buffer.AttachView(&first);
    buffer.AttachView(&third);
    buffer.AttachView(&second);
    Insert(0, 0, "x");
    EXPECT_THAT(order, ElementsAre(&first, &third));
    EXPECT_EQ(second.notifications.size(), 1u);

    buffer.DetachView(&third);
    buffer.DetachView(&third);
    Insert(0, 0, "y");
    EXPECT_THAT(order, ElementsAre(&first, &third, &first));
    EXPECT_EQ(second.notifications.size(), 2u);
}

TEST_F(LineStoreTest, ExtractTextJoinsLinesWithTheGivenLineEnd)
{
    Fill(buffer, {"one", "two", "three"});
    EXPECT_EQ(Extract({0, 0}, {0, 1}), "one\r\n");
    EXPECT_EQ(Extract({1, 0}, {1, 0}), "");
    EXPECT_EQ(Extract({1, 0}, {2, 2}), "ne\r\ntwo\r\nth");
    EXPECT_EQ(Extract({1, 0}, {3, 2}, "\n"), "ne\ntwo\nthr");
    EXPECT_EQ(Extract({1, 1}, {2, 1}), "w");
}

TEST_F(LineStoreTest, BadIndexesAreProgrammingErrors)
{
    Fill(buffer, {"abc", "de"});
    EXPECT_THROW(buffer.LineLength(2), std::invalid_argument);
    EXPECT_THROW(buffer.LineChars(-1), std::invalid_argument);
    EXPECT_THROW(buffer.LineFlagsOf(5), std::invalid_argument);
    EXPECT_THROW(Insert(0, 4, "x"), std::invalid_argument);
    EXPECT_THROW(Insert(2, 0, "x"), std::invalid_argument);
    EXPECT_THROW(buffer.RawDeleteText(nullptr, 0, 1, 1, 3), std::invalid_argument);
    EXPECT_THROW(buffer.RawDeleteText(nullptr, 1, 1, 0, 2), std::invalid_argument) << "end before start";
    EXPECT_THROW(Extract({0, 0}, {0, 2}), std::invalid_argument);
    EXPECT_THAT(Lines(buffer), ElementsAre("abc", "de"));
}

TEST_F(LineStoreTest, SingleBitFlagsOnly)
{
    Fill(buffer, {"a", "b"});
    buffer.AttachView(&view);
    EXPECT_EQ(buffer.FindFlaggedLine(0x3), -1);
    buffer.SetLineFlag(1, 0x3, FlagOperation::Set, FlagExclusivity::Shared);
    EXPECT_EQ(buffer.LineFlagsOf(1), 0u);
    EXPECT_TRUE(view.notifications.empty());

    buffer.SetLineFlag(1, 0x4000, FlagOperation::Set, FlagExclusivity::Shared);
    EXPECT_EQ(buffer.LineFlagsOf(1), 0x4000u);
    EXPECT_EQ(buffer.FindFlaggedLine(0x4000), 1);
    buffer.SetLineFlag(1, 0x4000, FlagOperation::Set, FlagExclusivity::Shared);
    EXPECT_EQ(view.notifications.size(), 1u) << "an unchanged flag word sends nothing";
}

TEST_F(LineStoreTest, ANumberedBookmarkMovesFromItsOldLine)
{
    Fill(buffer, std::vector<std::string>(12, "line"));
    const LineFlags bookmark3 = NumberedBookmarkFlag(3);
    buffer.SetLineFlag(2, bookmark3, FlagOperation::Set, FlagExclusivity::Exclusive);
    buffer.AttachView(&view);
    buffer.SetLineFlag(10, bookmark3, FlagOperation::Set, FlagExclusivity::Exclusive);
    EXPECT_EQ(buffer.LineFlagsOf(2), 0u);
    EXPECT_EQ(buffer.LineFlagsOf(10), bookmark3);
    ASSERT_EQ(view.notifications.size(), 2u);
    EXPECT_EQ(view.notifications[0].line, 2);
    EXPECT_EQ(view.notifications[0].hints, FlagChange);
    EXPECT_EQ(view.notifications[1].line, 10);
    EXPECT_EQ(view.notifications[1].hints, FlagChange);
}

TEST_F(LineStoreTest, ClearingAFlagOnLineMinusOneFindsItsLine)
{
    Fill(buffer, {"a", "b", "c"});
    buffer.SetLineFlag(1, NumberedBookmarkFlag(0), FlagOperation::Set, FlagExclusivity::Exclusive);
    buffer.SetLineFlag(-1, NumberedBookmarkFlag(0), FlagOperation::Clear, FlagExclusivity::Exclusive);
    EXPECT_EQ(buffer.FindFlaggedLine(NumberedBookmarkFlag(0)), -1);
    buffer.SetLineFlag(-1, NumberedBookmarkFlag(0), FlagOperation::Clear, FlagExclusivity::Shared);
    EXPECT_EQ(buffer.LineFlagsOf(0), 0u);
}

TEST_F(LineStoreTest, FlagsTravelWithTheirLines)
{
    Fill(buffer, {"a", "b", "c"});
    buffer.SetLineFlag(2, UnnumberedBookmarkFlag, FlagOperation::Set, FlagExclusivity::Shared);
    Insert(0, 1, "\r\nnew");
    EXPECT_EQ(buffer.FindFlaggedLine(UnnumberedBookmarkFlag), 3);
    EXPECT_EQ(buffer.LineFlagsOf(1), 0u) << "a new line starts without flags";
}

TEST_F(LineStoreTest, BookmarkSearchWrapsAround)
{
    Fill(buffer, std::vector<std::string>(8, "x"));
    EXPECT_EQ(buffer.NextBookmarkLine(3), -1);
    EXPECT_EQ(buffer.PrevBookmarkLine(3), -1);

    buffer.SetLineFlag(5, UnnumberedBookmarkFlag, FlagOperation::Set, FlagExclusivity::Shared);
    EXPECT_EQ(buffer.NextBookmarkLine(5), 5) << "the only bookmark";
    EXPECT_EQ(buffer.PrevBookmarkLine(5), 5);

    buffer.SetLineFlag(1, UnnumberedBookmarkFlag, FlagOperation::Set, FlagExclusivity::Shared);
    EXPECT_EQ(buffer.NextBookmarkLine(1), 5);
    EXPECT_EQ(buffer.NextBookmarkLine(5), 1) << "wraps to the first";
    EXPECT_EQ(buffer.NextBookmarkLine(3), 5);
    EXPECT_EQ(buffer.PrevBookmarkLine(5), 1);
    EXPECT_EQ(buffer.PrevBookmarkLine(1), 5) << "wraps to the last";
    EXPECT_EQ(buffer.PrevBookmarkLine(0), 5);
    EXPECT_EQ(buffer.NextBookmarkLine(7), 1);
}

TEST_F(LineStoreTest, ManyLinesInsertedAndRemovedInTheMiddle)
{
    std::vector<std::string> expected = {"head", "tail"};
    Fill(buffer, expected);
    std::string text;
    std::vector<std::string> added;
    for (int index = 0; index < 5000; ++index) {
        added.push_back("line " + std::to_string(index));
        text += added.back() + "\r\n";
    }
    ASSERT_TRUE(Insert(1, 0, text));
    expected.insert(expected.begin() + 1, added.begin(), added.end());
    EXPECT_EQ(Lines(buffer), expected);

    ASSERT_TRUE(buffer.RawDeleteText(nullptr, 0, 2, 5001, 2));
    EXPECT_THAT(Lines(buffer), ElementsAre("heil"));
}

}  // namespace
