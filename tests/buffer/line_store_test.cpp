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

struct InsertCase {
    const char* behaviour;
    std::vector<std::string> lines;
    TextPosition at;  // {character, line}
    std::string text;
    std::vector<std::string> expected;
    TextPosition end;
    std::uint32_t hints;
};

TEST_F(LineStoreTest, InsertionBreaksLinesAtCarriageReturnsAndKeepsTheRestBehindTheText)
{
    using namespace std::string_literals;
    const InsertCase cases[] = {
        {"a bare line feed does not break", {""}, {0, 0}, "a\nb", {"a\nb"}, {3, 0}, WithinLine},
        {"CR LF breaks", {""}, {0, 0}, "a\r\nb", {"a", "b"}, {1, 1}, AcrossLines},
        {"a bare CR breaks", {""}, {0, 0}, "a\rb", {"a", "b"}, {1, 1}, AcrossLines},
        {"LF after CR LF and CR CR", {""}, {0, 0}, "a\r\n\nb\r\r", {"a", "\nb", "", ""}, {0, 3}, AcrossLines},
        {"the rest of the line goes behind the text", {"first", "Hello world", "last"}, {6, 1}, "big\r\nround ",
         {"first", "Hello big", "round world", "last"}, {6, 2}, AcrossLines},
        {"a closing line end opens an empty line", {"abc"}, {3, 0}, "def\r\n", {"abcdef", ""}, {0, 1}, AcrossLines},
        {"an empty text still notifies", {"abc"}, {2, 0}, "", {"abc"}, {2, 0}, WithinLine},
        {"NUL bytes are kept", {"ab"}, {1, 0}, "x\0y"s, {"ax\0yb"s}, {4, 0}, WithinLine},
    };
    for (const InsertCase& testCase : cases) {
        SCOPED_TRACE(testCase.behaviour);
        Fill(buffer, testCase.lines);
        RecordingView caseView;
        buffer.AttachView(&caseView);
        ASSERT_TRUE(buffer.RawInsertText(&caseView, testCase.at.line, testCase.at.character, testCase.text, endLine, endChar));
        buffer.DetachView(&caseView);
        EXPECT_EQ(Lines(buffer), testCase.expected);
        EXPECT_EQ((TextPosition{endChar, endLine}), testCase.end);
        ASSERT_EQ(caseView.notifications.size(), 1u);
        EXPECT_EQ(caseView.notifications[0].hints, testCase.hints);
        EXPECT_EQ(caseView.notifications[0].source, &caseView);
        EXPECT_EQ(caseView.notifications[0].line, testCase.at.line);
        EXPECT_TRUE(buffer.IsModified());
    }
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
