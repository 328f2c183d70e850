#include "text_view_fixture.h"

#include <algorithm>
#include <numeric>

namespace views_test {
namespace {

// A parser whose state counts the "{" seen so far, so a stale state would show in the colours: a
// line is coloured as a keyword while a brace is open.
std::uint32_t CountBraces(ScriptedTextView& view, std::uint32_t state, int line, std::vector<ColourSpan>* spans)
{
    if (spans != nullptr && state > 0)
        spans->push_back({0, ColourSlot::Keyword});
    const auto text = std::string_view(view.LineChars(line), static_cast<std::size_t>(view.LineLength(line)));
    return state + static_cast<std::uint32_t>(std::count(text.begin(), text.end(), '{'));
}

std::vector<int> Lines(int first, int last)
{
    std::vector<int> lines(static_cast<std::size_t>(last - first + 1));
    std::iota(lines.begin(), lines.end(), first);
    return lines;
}

class TextViewParseStateTest : public TextViewTest {
protected:
    void SetUp() override
    {
        TextViewTest::SetUp();
        view->scanner = [this](std::uint32_t state, int line, std::vector<ColourSpan>* spans) {
            return CountBraces(*view, state, line, spans);
        };
    }

    // Lines "l0" ... "l<count-1>", every state known.
    void SetKnownLines(int count)
    {
        std::string text = "l0";
        for (int line = 1; line < count; ++line)
            text += "\nl" + std::to_string(line);
        SetText(text);
        view->LineEndState(count - 1);
        view->ForgetScans();
    }
};

TEST_F(TextViewParseStateTest, FirstLineStartsWithStateZeroAndStatesFlowDown)
{
    SetText("a\nb{\n\nc{{\nd");
    EXPECT_EQ(view->LineEndState(-1), 0u);
    EXPECT_EQ(view->LineEndState(0), 0u);
    EXPECT_EQ(view->LineEndState(1), 1u);
    EXPECT_EQ(view->LineEndState(2), 1u);
    EXPECT_EQ(view->LineEndState(3), 3u);
    EXPECT_EQ(view->LineEndState(4), 3u);
    EXPECT_EQ(TextCell(0, 0).textColour, WindowTextColour);
    EXPECT_EQ(TextCell(0, 4).textColour, KeywordColour);
}

TEST_F(TextViewParseStateTest, KnownStatesAreNotParsedAgain)
{
    SetText("a\nb\nc\nd");
    view->LineEndState(3);
    EXPECT_EQ(view->stateParsedLines, Lines(0, 3));
    view->ForgetScans();
    view->LineEndState(2);
    view->LineEndState(3);
    EXPECT_TRUE(view->stateParsedLines.empty());
}

TEST_F(TextViewParseStateTest, EditingALineReparsesOnlyFromThatLineDown)
{
    SetKnownLines(20);
    InsertAt({2, 10}, "{");
    EXPECT_EQ(view->LineEndState(19), 1u);
    EXPECT_EQ(view->stateParsedLines, Lines(10, 19));
    EXPECT_EQ(view->LineEndState(9), 0u);
    EXPECT_EQ(view->stateParsedLines, Lines(10, 19));
}

TEST_F(TextViewParseStateTest, PaintingAfterAnEditUsesTheKeptStatesAbove)
{
    SetKnownLines(6);
    InsertAt({2, 1}, "{");
    // The edited line's end state is computed once, to know how far the repaint must reach.
    EXPECT_EQ(view->stateParsedLines, std::vector<int>{1});
    view->ForgetScans();
    backend.PaintAll();
    // Painting colours every band, taking the state of each line from the one painted before it;
    // no state above the edit is computed again.
    EXPECT_TRUE(view->stateParsedLines.empty());
    EXPECT_EQ(TextCell(0, 1).textColour, WindowTextColour);
    EXPECT_EQ(TextCell(0, 2).textColour, KeywordColour);
    EXPECT_EQ(TextCell(0, 5).textColour, KeywordColour);
    EXPECT_EQ(view->LineEndState(5), 1u);
    EXPECT_TRUE(view->stateParsedLines.empty());
}

TEST_F(TextViewParseStateTest, AnEditRepaintsItsBandAndTheBandsBelowOnlyWhenItsEndStateChanged)
{
    SetKnownLines(6);
    backend.PaintAll();
    InsertAt({2, 3}, "x");
    CRect invalid = backend.Peer(*view).InvalidRect();
    EXPECT_EQ(invalid.top, 3 * CellHeight);
    EXPECT_EQ(invalid.bottom, 4 * CellHeight) << "the state after the line is the same";
    EXPECT_EQ(RowText(3, 4), "l3x ");

    InsertAt({0, 3}, "{");
    invalid = backend.Peer(*view).InvalidRect();
    EXPECT_EQ(invalid.top, 3 * CellHeight);
    EXPECT_EQ(invalid.bottom, Rows * CellHeight) << "the lines below are coloured anew";
}

TEST_F(TextViewParseStateTest, AddingLinesKeepsTheStatesAboveTheChange)
{
    SetText("{\nb\nc\nd");
    view->LineEndState(3);
    view->ForgetScans();

    InsertAt({1, 1}, "x\rnew\ry");
    EXPECT_EQ(view->LineCount(), 6);
    EXPECT_EQ(view->LineEndState(5), 1u);
    EXPECT_EQ(view->stateParsedLines, Lines(1, 5));
    EXPECT_EQ(RowText(2, 3), "new");
}

TEST_F(TextViewParseStateTest, RemovingLinesShrinksTheCacheFromTheChange)
{
    SetText("a\n{\nc\nd\ne");
    view->LineEndState(4);
    view->ForgetScans();

    ASSERT_TRUE(buffer.DeleteText(nullptr, 1, 0, 3, 0, UndoAction::Delete));
    EXPECT_EQ(view->LineCount(), 3);
    EXPECT_EQ(view->LineEndState(2), 0u);
    EXPECT_EQ(view->stateParsedLines, Lines(1, 2));
    EXPECT_EQ(RowText(1, 2), "d ");
    EXPECT_EQ(RowText(3, 2), "  ");
}

TEST_F(TextViewParseStateTest, PaintingStoresTheStateOfEachPaintedLine)
{
    SetText("{\n{\n{");
    Repaint();
    view->ForgetScans();
    EXPECT_EQ(view->LineEndState(2), 3u);
    EXPECT_TRUE(view->stateParsedLines.empty());
}

TEST_F(TextViewParseStateTest, ContentResetForgetsEveryState)
{
    SetText("{\nb");
    EXPECT_EQ(view->LineEndState(1), 1u);
    SetText("a\nb");
    EXPECT_EQ(view->LineEndState(1), 0u);
}

TEST_F(TextViewParseStateTest, EditsMoveTheCaretAndTheSelection)
{
    SetText("abc\ndef\nghi");
    view->SelectRange({1, 1}, {2, 2});
    InsertAt({1, 0}, "XY\rZ");
    TextPosition start;
    TextPosition end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (TextPosition{1, 2}));
    EXPECT_EQ(end, (TextPosition{2, 3}));
    ASSERT_TRUE(buffer.DeleteText(nullptr, 0, 0, 2, 2, UndoAction::Delete));
    view->GetSelection(start, end);
    EXPECT_EQ(start, (TextPosition{0, 0}));
    EXPECT_EQ(end, (TextPosition{2, 1}));
}

} // namespace
} // namespace views_test
