#include "text_view_fixture.h"
#include "numbered_lines.h"

#include "platform/cmd_ui.h"
#include "platform/command_ids.h"
#include "platform/virtual_keys.h"
#include "views/editor_command_ids.h"

#include <ostream>

inline void PrintTo(const TextPosition& position, std::ostream* stream)
{
    *stream << "(char " << position.character << ", line " << position.line << ")";
}

namespace views_test {
namespace {

enum class Held { None, Shift, Ctrl, CtrlShift, Alt };

// One key press with the modifiers held during it.
struct Stroke {
    UINT key;
    Held held = Held::None;
};

// A status bar pane's or menu entry's state as the view's update handler sets it.
class RecordedCommandState : public CCmdUI {
public:
    void SetText(const std::string& text) override { shownText = text; }
    std::string shownText;
};

class TextViewNavigationTest : public TextViewTest {
protected:
    void SetUp() override
    {
        TextViewTest::SetUp();
        GiveFocus();
    }

    void PressStroke(const Stroke& stroke)
    {
        switch (stroke.held) {
        case Held::None:
            return backend.PressKey(stroke.key);
        case Held::Shift:
            return backend.PressKey(stroke.key, {VK_SHIFT});
        case Held::Ctrl:
            return backend.PressKey(stroke.key, {VK_CONTROL});
        case Held::CtrlShift:
            return backend.PressKey(stroke.key, {VK_CONTROL, VK_SHIFT});
        case Held::Alt:
            return backend.PressKey(stroke.key, {VK_MENU});
        }
    }

    void Press(const std::vector<Stroke>& strokes)
    {
        for (const Stroke& stroke : strokes)
            PressStroke(stroke);
    }

    TextPosition SelectionStart()
    {
        TextPosition start;
        TextPosition end;
        view->GetSelection(start, end);
        return start;
    }

    TextPosition SelectionEnd()
    {
        TextPosition start;
        TextPosition end;
        view->GetSelection(start, end);
        return end;
    }

    std::string PositionPane()
    {
        RecordedCommandState state;
        state.m_nID = ID_INDICATOR_POSITION;
        view->OnCmdMsg(ID_INDICATOR_POSITION, CN_UPDATE_COMMAND_UI, &state);
        return state.shownText;
    }

    bool CommandEnabled(UINT id)
    {
        RecordedCommandState state;
        state.m_nID = id;
        view->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state);
        return state.m_bEnabled;
    }

    void SetNumberedLines(int count) { SetText(NumberedLines(count)); }

    void PlaceCaretAt(TextPosition position)
    {
        view->SetCaretPos(position);
        view->SelectRange(position, position);
    }
};

// A caret command: from a caret position (with nothing selected), after the keys, the caret and the
// ordered selection.
struct MoveCase {
    const char* name;
    std::string text;
    TextPosition start;
    std::vector<Stroke> keys;
    TextPosition caret;
    TextPosition selectionStart;
    TextPosition selectionEnd;
};

void PrintTo(const MoveCase& testCase, std::ostream* stream)
{
    *stream << testCase.name;
}

class CaretMoveTest : public TextViewNavigationTest, public testing::WithParamInterface<MoveCase> {};

TEST_P(CaretMoveTest, KeysMoveTheCaretAndSelection)
{
    const MoveCase& testCase = GetParam();
    SetText(testCase.text);
    PlaceCaretAt(testCase.start);
    Press(testCase.keys);
    EXPECT_EQ(view->CaretPos(), testCase.caret);
    EXPECT_EQ(SelectionStart(), testCase.selectionStart);
    EXPECT_EQ(SelectionEnd(), testCase.selectionEnd);
}

// Positions are {character, line}.
const std::string ThreeLines = "first line\nsecond\nthird one";

INSTANTIATE_TEST_SUITE_P(
    CharactersAndLines, CaretMoveTest,
    testing::Values(
        MoveCase{"left", ThreeLines, {3, 1}, {{VK_LEFT}}, {2, 1}, {2, 1}, {2, 1}},
        MoveCase{"left at a line start goes to the end of the line above", ThreeLines, {0, 1}, {{VK_LEFT}}, {10, 0}, {10, 0}, {10, 0}},
        MoveCase{"left at the start of the text stays", ThreeLines, {0, 0}, {{VK_LEFT}}, {0, 0}, {0, 0}, {0, 0}},
        MoveCase{"right at a line end goes to the next line", ThreeLines, {6, 1}, {{VK_RIGHT}}, {0, 2}, {0, 2}, {0, 2}},
        MoveCase{"right at the end of the text stays", ThreeLines, {9, 2}, {{VK_RIGHT}}, {9, 2}, {9, 2}, {9, 2}},
        MoveCase{"shift+right selects", ThreeLines, {1, 0}, {{VK_RIGHT, Held::Shift}, {VK_RIGHT, Held::Shift}}, {3, 0}, {1, 0}, {3, 0}},
        MoveCase{"shift+left across a line break", ThreeLines, {1, 1}, {{VK_LEFT, Held::Shift}, {VK_LEFT, Held::Shift}}, {10, 0}, {10, 0}, {1, 1}},
        MoveCase{"left collapses a selection to its start", ThreeLines, {2, 0}, {{VK_RIGHT, Held::Shift}, {VK_RIGHT, Held::Shift}, {VK_LEFT}}, {2, 0}, {2, 0}, {2, 0}},
        MoveCase{"right collapses a selection to its end", ThreeLines, {4, 0}, {{VK_LEFT, Held::Shift}, {VK_LEFT, Held::Shift}, {VK_RIGHT}}, {4, 0}, {4, 0}, {4, 0}},
        MoveCase{"shift+down selects the line", ThreeLines, {2, 0}, {{VK_DOWN, Held::Shift}}, {2, 1}, {2, 0}, {2, 1}},
        MoveCase{"down collapses to the selection end first", ThreeLines, {0, 0}, {{VK_DOWN, Held::Shift}, {VK_DOWN}}, {0, 2}, {0, 2}, {0, 2}},
        MoveCase{"up collapses to the selection start first", ThreeLines, {3, 2}, {{VK_UP, Held::Shift}, {VK_UP}}, {3, 0}, {3, 0}, {3, 0}},
        MoveCase{"up on the first line stays", ThreeLines, {3, 0}, {{VK_UP}}, {3, 0}, {3, 0}, {3, 0}},
        MoveCase{"end", ThreeLines, {2, 1}, {{VK_END}}, {6, 1}, {6, 1}, {6, 1}},
        MoveCase{"shift+end selects to the line end", ThreeLines, {2, 1}, {{VK_END, Held::Shift}}, {6, 1}, {2, 1}, {6, 1}},
        MoveCase{"ctrl+end", ThreeLines, {2, 0}, {{VK_END, Held::Ctrl}}, {9, 2}, {9, 2}, {9, 2}},
        MoveCase{"ctrl+shift+home selects to the start", ThreeLines, {2, 1}, {{VK_HOME, Held::CtrlShift}}, {0, 0}, {0, 0}, {2, 1}},
        MoveCase{"ctrl+shift+end selects to the end", ThreeLines, {2, 1}, {{VK_END, Held::CtrlShift}}, {9, 2}, {2, 1}, {9, 2}},
        MoveCase{"ctrl+a selects everything", ThreeLines, {2, 1}, {{'A', Held::Ctrl}}, {9, 2}, {0, 0}, {9, 2}}),
    [](const testing::TestParamInfo<MoveCase>& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    SmartHome, CaretMoveTest,
    testing::Values(
        MoveCase{"home goes to the indentation", "    x", {5, 0}, {{VK_HOME}}, {4, 0}, {4, 0}, {4, 0}},
        MoveCase{"home again goes to column 0", "    x", {5, 0}, {{VK_HOME}, {VK_HOME}}, {0, 0}, {0, 0}, {0, 0}},
        MoveCase{"and back to the indentation", "    x", {5, 0}, {{VK_HOME}, {VK_HOME}, {VK_HOME}}, {4, 0}, {4, 0}, {4, 0}},
        MoveCase{"a line of blanks goes to 0", "   ", {2, 0}, {{VK_HOME}}, {0, 0}, {0, 0}, {0, 0}},
        MoveCase{"tabs are indentation too", "\t\tx", {3, 0}, {{VK_HOME}}, {2, 0}, {2, 0}, {2, 0}},
        MoveCase{"shift+home selects", "  ab", {4, 0}, {{VK_HOME, Held::Shift}}, {2, 0}, {2, 0}, {4, 0}}),
    [](const testing::TestParamInfo<MoveCase>& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Words, CaretMoveTest,
    testing::Values(
        MoveCase{"word right stops at punctuation", "a+=b", {0, 0}, {{VK_RIGHT, Held::Ctrl}}, {1, 0}, {1, 0}, {1, 0}},
        MoveCase{"then after it", "a+=b", {1, 0}, {{VK_RIGHT, Held::Ctrl}}, {3, 0}, {3, 0}, {3, 0}},
        MoveCase{"then at the line end", "a+=b", {3, 0}, {{VK_RIGHT, Held::Ctrl}}, {4, 0}, {4, 0}, {4, 0}},
        MoveCase{"word right skips the blanks after a word", "alpha  beta", {0, 0}, {{VK_RIGHT, Held::Ctrl}}, {7, 0}, {7, 0}, {7, 0}},
        MoveCase{"word right at a line end skips an empty line", "ab\n\ncd", {2, 0}, {{VK_RIGHT, Held::Ctrl}}, {0, 2}, {0, 2}, {0, 2}},
        MoveCase{"word right at the end of the text stays", "ab", {2, 0}, {{VK_RIGHT, Held::Ctrl}}, {2, 0}, {2, 0}, {2, 0}},
        MoveCase{"word left from a line start lands on the last word above", "one two\nx", {0, 1}, {{VK_LEFT, Held::Ctrl}}, {4, 0}, {4, 0}, {4, 0}},
        MoveCase{"word left over punctuation", "f(x)", {4, 0}, {{VK_LEFT, Held::Ctrl}}, {3, 0}, {3, 0}, {3, 0}},
        MoveCase{"word left over blanks and a word", "alpha beta  ", {12, 0}, {{VK_LEFT, Held::Ctrl}}, {6, 0}, {6, 0}, {6, 0}},
        MoveCase{"ctrl+shift+right selects a word", "alpha beta", {0, 0}, {{VK_RIGHT, Held::CtrlShift}}, {6, 0}, {0, 0}, {6, 0}},
        MoveCase{"ctrl+left collapses a selection", "alpha beta", {6, 0}, {{VK_RIGHT, Held::CtrlShift}, {VK_LEFT, Held::Ctrl}}, {6, 0}, {6, 0}, {6, 0}},
        MoveCase{"letters beyond ASCII belong to words", "na\xC3\xAFve b", {0, 0}, {{VK_RIGHT, Held::Ctrl}}, {7, 0}, {7, 0}, {7, 0}},
        MoveCase{"word left over a UTF-8 word", "x \xC5\xBElu\xC5\xA5", {8, 0}, {{VK_LEFT, Held::Ctrl}}, {2, 0}, {2, 0}, {2, 0}}),
    [](const testing::TestParamInfo<MoveCase>& info) { return "case" + std::to_string(info.index); });

// "a", "é" (2 bytes), an invalid byte, "中" (3 bytes, two cells), "b".
const std::string Utf8Line = "a\xC3\xA9\xFF\xE4\xB8\xAD" "b";

INSTANTIATE_TEST_SUITE_P(
    Utf8Characters, CaretMoveTest,
    testing::Values(
        MoveCase{"right steps over whole sequences", Utf8Line, {0, 0}, {{VK_RIGHT}, {VK_RIGHT}, {VK_RIGHT}}, {4, 0}, {4, 0}, {4, 0}},
        MoveCase{"and over a wide character", Utf8Line, {4, 0}, {{VK_RIGHT}}, {7, 0}, {7, 0}, {7, 0}},
        MoveCase{"left steps back over them", Utf8Line, {8, 0}, {{VK_LEFT}, {VK_LEFT}, {VK_LEFT}, {VK_LEFT}}, {1, 0}, {1, 0}, {1, 0}},
        MoveCase{"shift+left selects a whole sequence", Utf8Line, {3, 0}, {{VK_LEFT, Held::Shift}}, {1, 0}, {1, 0}, {3, 0}},
        // Column 3 falls on the second cell of the wide character: the caret goes before it.
        MoveCase{"down keeps the column across wide characters", "abc\n\xE4\xB8\xAD\xE4\xB8\xAD", {3, 0}, {{VK_DOWN}}, {3, 1}, {3, 1}, {3, 1}},
        MoveCase{"up from after two wide characters", "abcdef\n\xE4\xB8\xAD\xE4\xB8\xAD", {6, 1}, {{VK_UP}}, {4, 0}, {4, 0}, {4, 0}}),
    [](const testing::TestParamInfo<MoveCase>& info) { return "case" + std::to_string(info.index); });

TEST_F(TextViewNavigationTest, VerticalMovesKeepTheColumnThroughShortLines)
{
    SetText("0123456789AB\nabc\n0123456789AB\n\tx");
    PlaceCaretAt({10, 0});
    Press({{VK_DOWN}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{3, 1}));
    Press({{VK_DOWN}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{10, 2}));
    // A tab (columns 0 to 4) is entered only from the first half of its cells.
    PlaceCaretAt({1, 2});
    Press({{VK_DOWN}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 3}));
    PlaceCaretAt({3, 2});
    Press({{VK_DOWN}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{1, 3}));
    // A horizontal move sets a new column.
    PlaceCaretAt({10, 0});
    Press({{VK_DOWN}, {VK_LEFT}, {VK_DOWN}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{2, 2}));
}

TEST_F(TextViewNavigationTest, PageKeysMoveByAScreenLessOneLine)
{
    SetNumberedLines(40);
    PlaceCaretAt({3, 0});
    Press({{VK_NEXT}});
    EXPECT_EQ(view->TopLine(), Rows - 1);
    EXPECT_EQ(view->CaretPos(), (TextPosition{3, Rows - 1}));
    Press({{VK_NEXT, Held::Shift}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{3, 2 * (Rows - 1)}));
    EXPECT_EQ(SelectionStart(), (TextPosition{3, Rows - 1}));
    EXPECT_EQ(SelectionEnd(), (TextPosition{3, 2 * (Rows - 1)}));
    Press({{VK_PRIOR}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{3, Rows - 1}));
    EXPECT_EQ(view->TopLine(), Rows - 1);
    EXPECT_FALSE(view->HasSelection());
    // The character index is kept, limited to the shorter line.
    SetText("long line here\nx");
    PlaceCaretAt({9, 0});
    Press({{VK_NEXT}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{1, 1}));
}

TEST_F(TextViewNavigationTest, PageDownOnTheLastScreenGoesToTheLastLine)
{
    SetNumberedLines(8);
    PlaceCaretAt({2, 5});
    Press({{VK_NEXT}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{2, 7}));
    EXPECT_LE(view->TopLine(), 7);
    Press({{VK_NEXT}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{2, 7}));
    EXPECT_LE(view->TopLine(), 7);
    Press({{VK_PRIOR}, {VK_PRIOR}, {VK_PRIOR}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{2, 0}));
    EXPECT_EQ(view->TopLine(), 0);
}

TEST_F(TextViewNavigationTest, AWindowOfOneLinePagesOneLineAtATime)
{
    SetNumberedLines(10);
    backend.Resize(*view, CSize(Margin + Columns * CellWidth, CellHeight + 3));
    PlaceCaretAt({1, 4});
    Press({{VK_NEXT}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{1, 5}));
    EXPECT_EQ(view->TopLine(), 5);
    Press({{VK_PRIOR}, {VK_PRIOR}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{1, 3}));
    EXPECT_EQ(view->TopLine(), 3);
}

TEST_F(TextViewNavigationTest, CtrlUpAndDownScrollWithoutMovingTheCaret)
{
    SetNumberedLines(20);
    PlaceCaretAt({2, 3});
    Press({{VK_DOWN, Held::Ctrl}, {VK_DOWN, Held::Ctrl}});
    EXPECT_EQ(view->TopLine(), 2);
    EXPECT_EQ(RowText(0, 5), "line2");
    EXPECT_EQ(view->CaretPos(), (TextPosition{2, 3}));
    Press({{VK_UP, Held::Ctrl}, {VK_UP, Held::Ctrl}, {VK_UP, Held::Ctrl}});
    EXPECT_EQ(view->TopLine(), 0);
    EXPECT_EQ(view->CaretPos(), (TextPosition{2, 3}));
    EXPECT_EQ(backend.Peer(*view).ScrollBar(SB_VERT).nPos, 0);
}

TEST_F(TextViewNavigationTest, MovesBringTheCaretIntoView)
{
    SetNumberedLines(40);
    Press({{VK_END, Held::Ctrl}});
    EXPECT_EQ(view->TopLine(), 40 - Rows);
    EXPECT_EQ(RowText(Rows - 1, 6), "line39");
    EXPECT_EQ(backend.Peer(*view).ScrollBar(SB_VERT).nPos, 40 - Rows);
    Press({{VK_HOME, Held::Ctrl}});
    EXPECT_EQ(view->TopLine(), 0);
    // Far right and back.
    SetText(std::string(Columns + 20, 'x') + "END");
    Press({{VK_END}});
    EXPECT_EQ(view->FirstColumn(), Columns + 23 - Columns);
    EXPECT_EQ(RowText(0, Columns).substr(Columns - 3), "END");
    Press({{VK_HOME}});
    EXPECT_EQ(view->FirstColumn(), 0);
}

TEST_F(TextViewNavigationTest, TheCaretIsShownAtItsCellOnlyWithTheFocus)
{
    SetText("ab\tc\n\xE4\xB8\xAD" "d");
    PlaceCaretAt({3, 0});
    const auto& caret = backend.Peer(*view).Caret();
    EXPECT_TRUE(caret.visible);
    EXPECT_EQ(caret.rect.left, Margin + 4 * CellWidth);
    EXPECT_EQ(caret.rect.top, 0);
    EXPECT_EQ(caret.rect.Height(), CellHeight);
    // After a wide character the caret is two cells on.
    Press({{VK_DOWN}, {VK_HOME}, {VK_RIGHT}});
    EXPECT_EQ(backend.Peer(*view).Caret().rect.left, Margin + 2 * CellWidth);
    EXPECT_EQ(backend.Peer(*view).Caret().rect.top, CellHeight);
    CWnd::ReportFocusChange(nullptr);
    EXPECT_FALSE(view->HasFocus());
    EXPECT_FALSE(backend.Peer(*view).Caret().visible);
    GiveFocus();
    EXPECT_TRUE(backend.Peer(*view).Caret().visible);
}

TEST_F(TextViewNavigationTest, TheSelectionShowsOnlyWithTheFocus)
{
    SetText("abcdef");
    PlaceCaretAt({1, 0});
    Press({{VK_RIGHT, Held::Shift}, {VK_RIGHT, Held::Shift}});
    EXPECT_EQ(TextCell(1, 0).background, SelBackgroundColour);
    CWnd::ReportFocusChange(nullptr);
    EXPECT_EQ(TextCell(1, 0).background, WindowColour);
    GiveFocus();
    EXPECT_EQ(TextCell(2, 0).background, SelBackgroundColour);
    EXPECT_EQ(TextCell(3, 0).background, WindowColour);
}

struct PaneCase {
    std::string text;
    TextPosition caret;
    TextEncoding encoding;
    const char* pane;
};

TEST_F(TextViewNavigationTest, ThePositionPaneCountsCharactersInUtf8AndBytesInLegacyText)
{
    const std::vector<PaneCase> cases{
        {"", {0, 0}, TextEncoding::Utf8, "Ln 1, Col 1"},
        {"ab\n\tcd", {2, 1}, TextEncoding::Utf8, "Ln 2, Col 3"},
        {"\xC3\xA9\xE4\xB8\xAD\xFFx", {6, 0}, TextEncoding::Utf8, "Ln 1, Col 4"},
        {"\xC3\xA9\xE4\xB8\xAD\xFFx", {6, 0}, TextEncoding::Legacy, "Ln 1, Col 7"},
    };
    for (const PaneCase& testCase : cases) {
        SetText(testCase.text);
        buffer.SetEncoding(testCase.encoding);
        PlaceCaretAt(testCase.caret);
        EXPECT_EQ(PositionPane(), testCase.pane) << testCase.text;
    }
}

TEST_F(TextViewNavigationTest, Utf8TextIsDrawnCharacterByCharacterWithInvalidBytesMarked)
{
    SetText(Utf8Line + "|");
    EXPECT_EQ(RowText(0, 7), "a\xC3\xA9\xEF\xBF\xBD\xE4\xB8\xAD" "b|");
    EXPECT_EQ(TextCell(1, 0).character, U'\u00E9');
    EXPECT_EQ(TextCell(2, 0).character, utf8::ReplacementCharacter);
    EXPECT_EQ(TextCell(2, 0).textColour, RGB(255, 0, 0));
    EXPECT_EQ(TextCell(3, 0).character, U'\u4E2D');
    EXPECT_TRUE(TextCell(4, 0).wideTail);
    EXPECT_EQ(TextCell(5, 0).byte, 'b');
    EXPECT_EQ(TextCell(5, 0).textColour, WindowTextColour);
    // The same bytes read as a legacy text: one cell per byte.
    ASSERT_TRUE(view->OnCmdMsg(ID_VIEW_ENCODING_LEGACY, CN_COMMAND, nullptr));
    EXPECT_EQ(TextCell(1, 0).byte, '\xC3');
    EXPECT_EQ(TextCell(2, 0).byte, '\xA9');
    EXPECT_EQ(TextCell(8, 0).byte, '|');
    EXPECT_EQ(buffer.LineLength(0), 9);
}

TEST_F(TextViewNavigationTest, ALongUtf8LineScrollsByCells)
{
    std::string line;
    for (int count = 0; count < 20; ++count)
        line += "\xC3\xA9\xE4\xB8\xAD";
    SetText(line + "END");
    Press({{VK_END}});
    // Twenty times three cells, then three letters: the caret at column 63.
    EXPECT_EQ(view->FirstColumn(), 63 - Columns);
    EXPECT_EQ(RowText(0, Columns).substr(RowText(0, Columns).size() - 3), "END");
    EXPECT_EQ(backend.Peer(*view).Caret().rect.left, Margin + Columns * CellWidth);
    // Back over "END" and one wide character; the whole line is one word.
    Press({{VK_LEFT}, {VK_LEFT}, {VK_LEFT}, {VK_LEFT}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{97, 0}));
    Press({{VK_LEFT, Held::Ctrl}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 0}));
    EXPECT_EQ(view->FirstColumn(), 0);
}

TEST_F(TextViewNavigationTest, SwitchingTheEncodingKeepsTheCaretOnACharacter)
{
    SetText("x\xC3\xA9y");
    buffer.SetEncoding(TextEncoding::Legacy);
    PlaceCaretAt({2, 0});
    Press({{VK_LEFT, Held::Shift}});
    ASSERT_EQ(view->CaretPos(), (TextPosition{1, 0}));
    PlaceCaretAt({2, 0});
    ASSERT_TRUE(view->OnCmdMsg(ID_VIEW_ENCODING_UTF8, CN_COMMAND, nullptr));
    EXPECT_EQ(buffer.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(view->CaretPos(), (TextPosition{1, 0}));
    RecordedCommandState utf8Item;
    utf8Item.m_nID = ID_VIEW_ENCODING_UTF8;
    view->OnCmdMsg(ID_VIEW_ENCODING_UTF8, CN_UPDATE_COMMAND_UI, &utf8Item);
    EXPECT_EQ(utf8Item.m_nCheck, 1);
    RecordedCommandState legacyItem;
    legacyItem.m_nID = ID_VIEW_ENCODING_LEGACY;
    view->OnCmdMsg(ID_VIEW_ENCODING_LEGACY, CN_UPDATE_COMMAND_UI, &legacyItem);
    EXPECT_EQ(legacyItem.m_nCheck, 0);
}

TEST_F(TextViewNavigationTest, NumberedBookmarksAreOnePerNumberAndAltDigitGoesThere)
{
    SetNumberedLines(30);
    PlaceCaretAt({2, 10});
    Press({{'3', Held::Ctrl}});
    EXPECT_EQ(buffer.LineFlagsOf(10), NumberedBookmarkFlag(3));
    PlaceCaretAt({2, 20});
    Press({{'3', Held::Ctrl}});
    EXPECT_EQ(buffer.LineFlagsOf(10), 0U);
    EXPECT_EQ(buffer.LineFlagsOf(20), NumberedBookmarkFlag(3));
    Press({{VK_HOME, Held::Ctrl}, {'3', Held::Alt}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 20}));
    EXPECT_FALSE(view->HasSelection());
    EXPECT_GE(20, view->TopLine());
    EXPECT_LT(20, view->TopLine() + Rows);
    // Toggling on the line that carries it removes it; going to a missing bookmark stays.
    Press({{'3', Held::Ctrl}, {VK_HOME, Held::Ctrl}, {'3', Held::Alt}});
    EXPECT_EQ(buffer.LineFlagsOf(20), 0U);
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 0}));
    // Bookmark 0 and 9 too.
    PlaceCaretAt({1, 4});
    Press({{'0', Held::Ctrl}, {VK_DOWN}, {'9', Held::Ctrl}, {'0', Held::Alt}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 4}));
    Press({{'9', Held::Alt}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 5}));
}

TEST_F(TextViewNavigationTest, UnnumberedBookmarksCycleBothWaysAndEnableTheirCommands)
{
    SetNumberedLines(12);
    EXPECT_FALSE(CommandEnabled(ID_EDIT_GOTO_NEXT_BOOKMARK));
    // F2 does nothing while no line is marked.
    Press({{VK_F2}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 0}));
    PlaceCaretAt({1, 2});
    Press({{VK_F2, Held::Ctrl}});
    PlaceCaretAt({1, 8});
    Press({{VK_F2, Held::Ctrl}});
    EXPECT_TRUE(CommandEnabled(ID_EDIT_GOTO_NEXT_BOOKMARK));
    EXPECT_TRUE(CommandEnabled(ID_EDIT_GOTO_PREV_BOOKMARK));
    EXPECT_TRUE(CommandEnabled(ID_EDIT_CLEAR_ALL_BOOKMARKS));
    Press({{VK_F2}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 2}));
    Press({{VK_F2}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 8}));
    Press({{VK_F2, Held::Shift}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 2}));
    Press({{VK_F2, Held::Shift}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 8}));
    // Toggling on a marked line removes only that mark.
    Press({{VK_F2, Held::Ctrl}});
    EXPECT_EQ(buffer.LineFlagsOf(8), 0U);
    EXPECT_EQ(buffer.LineFlagsOf(2), UnnumberedBookmarkFlag);
    Press({{VK_F2}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 2}));
    Press({{VK_F2}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 2}));
    PlaceCaretAt({0, 5});
    Press({{VK_F2, Held::Ctrl}, {VK_F2, Held::CtrlShift}});
    EXPECT_EQ(buffer.LineFlagsOf(2), 0U);
    EXPECT_EQ(buffer.LineFlagsOf(5), 0U);
    EXPECT_FALSE(CommandEnabled(ID_EDIT_GOTO_PREV_BOOKMARK));
    EXPECT_FALSE(CommandEnabled(ID_EDIT_CLEAR_ALL_BOOKMARKS));
    Press({{VK_F2, Held::Shift}});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 5}));
}

TEST_F(TextViewNavigationTest, BookmarksShowInTheMargin)
{
    // Pixels of a band's margin cell that are not the margin colour.
    const auto markedPixels = [this](int row) {
        int count = 0;
        for (int y = row * CellHeight; y < (row + 1) * CellHeight; ++y) {
            for (int x = 0; x < Margin; ++x)
                count += Pixel(x, y) != ScrollBarColour ? 1 : 0;
        }
        return count;
    };
    SetNumberedLines(4);
    PlaceCaretAt({0, 1});
    Press({{VK_F2, Held::Ctrl}});
    EXPECT_GT(markedPixels(1), 0);
    EXPECT_EQ(markedPixels(2), 0);
    Press({{VK_F2, Held::Ctrl}});
    EXPECT_EQ(markedPixels(1), 0);
}

TEST_F(TextViewNavigationTest, TheCaretFollowsEditsAndNeverLeavesTheText)
{
    SetNumberedLines(5);
    PlaceCaretAt({3, 4});
    ASSERT_TRUE(buffer.DeleteText(nullptr, 1, 0, 4, 2, UndoAction::Delete));
    EXPECT_EQ(view->CaretPos(), (TextPosition{1, 1}));
    PlaceCaretAt({0, 0});
    view->SetCaretPos({100, 100});
    EXPECT_EQ(view->CaretPos(), (TextPosition{3, 1}));
    view->SetCaretPos({-4, -1});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 0}));
    // Inside a UTF-8 sequence the caret goes to its start.
    SetText("\xE4\xB8\xAD");
    view->SetCaretPos({2, 0});
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 0}));
}

TEST_F(TextViewNavigationTest, FoundTextIsSelectedAndShown)
{
    SetNumberedLines(30);
    view->SelectFoundText({1, 25}, 3);
    EXPECT_EQ(SelectionStart(), (TextPosition{1, 25}));
    EXPECT_EQ(SelectionEnd(), (TextPosition{4, 25}));
    EXPECT_EQ(view->CaretPos(), (TextPosition{4, 25}));
    EXPECT_LE(view->TopLine(), 25);
    EXPECT_GT(view->TopLine() + Rows, 25);
}

TEST_F(TextViewNavigationTest, PointsMapToTheCharacterUnderThem)
{
    SetText("a\tb\n\xE4\xB8\xAD" "x");
    EXPECT_EQ(view->PointToText({Margin + 1, 1}), (TextPosition{0, 0}));
    EXPECT_EQ(view->PointToText({Margin + 3 * CellWidth, 1}), (TextPosition{1, 0}));
    EXPECT_EQ(view->PointToText({Margin + 4 * CellWidth + 2, 1}), (TextPosition{2, 0}));
    EXPECT_EQ(view->PointToText({Margin + 20 * CellWidth, 1}), (TextPosition{3, 0}));
    EXPECT_EQ(view->PointToText({Margin + CellWidth + 2, CellHeight + 3}), (TextPosition{0, 1}));
    EXPECT_EQ(view->PointToText({Margin + 2 * CellWidth + 2, CellHeight + 3}), (TextPosition{3, 1}));
    EXPECT_EQ(view->PointToText({2, 50 * CellHeight}), (TextPosition{0, 1}));
}

} // namespace
} // namespace views_test
