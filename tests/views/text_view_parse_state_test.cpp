#include "text_view_fixture.h"

#include <algorithm>
#include <functional>
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

TEST_F(TextViewParseStateTest, AddingOrRemovingLinesShowsWhatAFullRepaintShows)
{
    // The lines below a change that keeps their colours move as pixels; every other change paints
    // them anew. Either way the screen must equal a full repaint, also with a band still waiting to
    // be painted when the pixels move.
    struct Case {
        const char* name;
        int topLine;
        std::function<void()> edit;
        // The rows the change leaves to be painted, first and one past the last.
        int firstRow;
        int endRow;
    };
    const auto insert = [this](TextPosition at, std::string text) {
        return [this, at, text] { InsertAt(at, text); };
    };
    const auto remove = [this](TextPosition from, TextPosition to) {
        return [this, from, to] {
            ASSERT_TRUE(buffer.DeleteText(nullptr, from.line, from.character, to.line, to.character, UndoAction::Delete));
        };
    };
    const Case cases[] = {
        {"line break in the middle", 0, insert({1, 2}, "\r"), 2, 4},
        {"two lines inserted", 0, insert({2, 1}, "a\rb\r"), 1, 4},
        {"line break in the last band", 0, insert({1, 5}, "\r"), 5, 6},
        {"lines joined", 0, remove({2, 1}, {0, 2}), 1, 6},
        {"three lines removed", 0, remove({1, 1}, {1, 4}), 1, 6},
        {"brace opened with the new line", 0, insert({1, 2}, "{\r"), 2, 6},
        {"brace removed with the joined line", 3, remove({3, 6}, {0, 7}), 3, 6},
        {"line break below the top line", 3, insert({2, 5}, "\r"), 2, 4},
        {"line break above the top line", 3, insert({1, 1}, "\r"), 0, 6},
        {"lines removed across the top line", 3, remove({1, 1}, {1, 4}), 0, 6},
        {"band waiting to be painted below", 0, [this] {
             InsertAt({2, 4}, "y");
             InsertAt({0, 2}, "\r");
         }, 2, 6},
    };
    const auto screen = [this] {
        // Each band's text and which of its characters have the keyword colour.
        std::vector<std::string> rows;
        for (int row = 0; row < Rows; ++row) {
            std::string shown = RowText(row) + " |";
            for (int column = 0; column < Columns; ++column)
                shown += TextCell(column, row).textColour == KeywordColour ? 'k' : '.';
            rows.push_back(shown);
        }
        return rows;
    };
    for (const Case& test : cases) {
        SetText("l0\nl1\nl2\nl3\nl4\nl5\nl6 {\nl7 }\nl8\nl9\nl10");
        view->ScrollToLine(test.topLine, ScrollBarTracking::Move);
        backend.PaintAll();
        test.edit();
        const CRect invalid = backend.Peer(*view).InvalidRect();
        EXPECT_EQ(invalid.top, test.firstRow * CellHeight) << test.name;
        EXPECT_EQ(invalid.bottom, test.endRow * CellHeight) << test.name;
        backend.PaintAll();
        const std::vector<std::string> shown = screen();
        Repaint();
        EXPECT_EQ(shown, screen()) << test.name;
    }
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
