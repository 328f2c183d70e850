#include "view_fixture.h"
#include "numbered_lines.h"

#include "platform/clipboard.h"
#include "platform/command_ids.h"
#include "platform/cursor.h"
#include "platform/drag_drop.h"
#include "platform/virtual_keys.h"
#include "views/margin_cursor.h"

#include <chrono>

namespace views_test {
namespace {

using platform::headless::CellHeight;
using platform::headless::CellWidth;
using platform::headless::DragStep;
using Range = std::pair<TextPosition, TextPosition>;

class MouseSelectionTest : public TextViewFixture {
protected:
    void SetNumberedLines(int count) { SetText(NumberedLines(count)); }
    static CPoint MarginPoint(int row) { return {5, row * CellHeight + 3}; }
    CPoint MarginPointOfLine(int line) { return MarginPoint(line - view->TopLine()); }
    void Press(CPoint point, std::initializer_list<int> modifiers = {}) { backend.MouseButton(*view, WM_LBUTTONDOWN, point, modifiers); }
    void Release(CPoint point) { backend.MouseButton(*view, WM_LBUTTONUP, point); }
    void Click(CPoint point, std::initializer_list<int> modifiers = {})
    {
        Press(point, modifiers);
        Release(point);
    }
    void DoubleClick(CPoint point)
    {
        Click(point);
        backend.MouseButton(*view, WM_LBUTTONDBLCLK, point);
        Release(point);
    }
    static Range Span(TextPosition start, TextPosition end) { return {start, end}; }
};

TEST_F(MouseSelectionTest, ClicksPlaceTheCaretAtTheNearestBoundary)
{
    // A tab, a wide character (two cells) and an invalid byte.
    SetText("ab\tc\nx\xE4\xB8\xAD" "y\xFFz\nshort");
    struct Case {
        const char* name;
        CPoint point;
        TextPosition expected;
    };
    const Case cases[] = {
        {"left half of a cell", CellPoint(1, 0), {1, 0}},
        {"right half of a cell", CellPoint(1, 0) + CSize(CellWidth / 2, 0), {2, 0}},
        {"inside a tab", CellPoint(2, 0), {2, 0}},
        {"after the tab", CellPoint(3, 0) + CSize(CellWidth / 2, 0), {3, 0}},
        {"first cell of a wide character", CellPoint(1, 1), {1, 1}},
        {"second cell of a wide character", CellPoint(2, 1) + CSize(CellWidth / 2, 0), {4, 1}},
        {"an invalid byte", CellPoint(4, 1), {5, 1}},
        {"past the end of a line", CellPoint(20, 2), {5, 2}},
        {"below the last line", CellPoint(2, 5), {2, 2}},
    };
    for (const auto& testCase : cases) {
        Click(testCase.point);
        EXPECT_EQ(view->CaretPos(), testCase.expected) << testCase.name;
        EXPECT_FALSE(view->HasSelection()) << testCase.name;
    }
}

TEST_F(MouseSelectionTest, MarginSelectsWholeLines)
{
    SetNumberedLines(12);
    view->ScrollToLine(3, ScrollBarTracking::Move);
    Click(MarginPointOfLine(5));
    EXPECT_EQ(Selection(), Span({0, 5}, {0, 6}));
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 6})) << "the release puts the caret after the line";
    Click(MarginPointOfLine(8), {VK_SHIFT});
    EXPECT_EQ(Selection(), Span({0, 5}, {0, 9}));
    Click(MarginPointOfLine(5));
    Press(MarginPointOfLine(7), {VK_SHIFT});
    backend.MouseMove(*view, MarginPointOfLine(4));
    EXPECT_EQ(Selection(), Span({0, 4}, {0, 6})) << "upward: from the pointer's line to the end of the anchor line";
    Release(MarginPointOfLine(4));
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 4}));
    view->ScrollToLine(8, ScrollBarTracking::Move);
    Click(MarginPointOfLine(11));
    EXPECT_EQ(Selection(), Span({0, 11}, {6, 11})) << "the last line ends at its end";
    Click(MarginPointOfLine(9), {VK_CONTROL});
    EXPECT_EQ(Selection(), Span({0, 0}, {6, 11}));
}

TEST_F(MouseSelectionTest, DraggingSelectsCharactersAndLeavingTheMarginSwitchesToThem)
{
    SetText("hello world\nsecond line");
    Press(CellPoint(2, 0));
    backend.MouseMove(*view, CellPoint(3, 1));
    EXPECT_EQ(Selection(), Span({2, 0}, {3, 1}));
    Release(CellPoint(3, 1));
    EXPECT_EQ(view->CaretPos(), (TextPosition{3, 1}));
    EXPECT_EQ(view->AnchorPos(), (TextPosition{2, 0}));
    Press(MarginPoint(1));
    backend.MouseMove(*view, CellPoint(4, 0));
    EXPECT_EQ(Selection(), Span({4, 0}, {0, 1}));
    EXPECT_EQ(backend.Cursor(), LoadStandardCursor(IDC_IBEAM));
    Release(CellPoint(4, 0));
}

TEST_F(MouseSelectionTest, WordsAreSelectedByDoubleClickAndControl)
{
    SetText("one two_2 three\n  x");
    DoubleClick(CellPoint(5, 0));
    EXPECT_EQ(Selection(), Span({4, 0}, {9, 0}));
    EXPECT_EQ(view->CaretPos(), (TextPosition{9, 0}));
    DoubleClick(CellPoint(0, 1));
    EXPECT_FALSE(view->HasSelection()) << "a double-click on a blank selects nothing";

    Press(CellPoint(5, 0), {VK_CONTROL});
    EXPECT_EQ(Selection(), Span({4, 0}, {9, 0}));
    backend.MouseMove(*view, CellPoint(11, 0));
    EXPECT_EQ(Selection(), Span({4, 0}, {15, 0})) << "extended by whole words";
    backend.MouseMove(*view, CellPoint(1, 0));
    EXPECT_EQ(Selection(), Span({0, 0}, {9, 0})) << "left of the anchor the anchor's word stays selected";
    Release(CellPoint(1, 0));
    EXPECT_EQ(Selection(), Span({0, 0}, {9, 0}));
}

TEST_F(MouseSelectionTest, PointerOutsideTheWindowScrollsByTheTimer)
{
    SetNumberedLines(60);
    Press(CellPoint(1, 2));
    backend.MouseMove(*view, CPoint(60, Rows * CellHeight + 2));
    backend.AdvanceTime(std::chrono::milliseconds(100));
    EXPECT_EQ(view->TopLine(), 1) << "just below: one line";
    EXPECT_EQ(view->CaretPos().line, 1 + Rows);
    backend.MouseMove(*view, CPoint(60, Rows * CellHeight + 2 * CellHeight));
    backend.AdvanceTime(std::chrono::milliseconds(300));
    EXPECT_EQ(view->TopLine(), 10) << "two line heights below: three lines per tick";
    EXPECT_EQ(Selection(), Span({1, 2}, view->CaretPos()));
    backend.MouseMove(*view, CPoint(60, -2 * CellHeight));
    backend.AdvanceTime(std::chrono::milliseconds(200));
    EXPECT_EQ(view->TopLine(), 4);
    EXPECT_EQ(view->CaretPos().line, 2);
    Release(CPoint(60, -2 * CellHeight));
    EXPECT_EQ(view->TopLine(), 2) << "the release brings the caret into view";
    backend.AdvanceTime(std::chrono::milliseconds(500));
    EXPECT_EQ(view->TopLine(), 2) << "and stops the timer";
}

TEST_F(MouseSelectionTest, ClickInsideTheSelectionWithoutDraggingCollapsesIt)
{
    SetText("drag this text");
    view->SelectRange({5, 0}, {9, 0});
    Press(CellPoint(7, 0));
    backend.MouseMove(*view, CellPoint(7, 0) + CSize(1, 3));
    Release(CellPoint(7, 0) + CSize(1, 3));
    EXPECT_FALSE(view->HasSelection());
    EXPECT_EQ(view->CaretPos(), (TextPosition{7, 0}));
}

TEST_F(MouseSelectionTest, CancelledDragLeavesTheTextAlone)
{
    SetText("keep me");
    view->SelectRange({0, 0}, {4, 0});
    backend.ScriptDrag({{view, CellPoint(6, 0), MK_LBUTTON, DragStep::Action::Move},
                        {nullptr, CPoint(-50, -50), MK_LBUTTON, DragStep::Action::Cancel}});
    Press(CellPoint(1, 0));
    backend.MouseMove(*view, CellPoint(2, 0));
    EXPECT_EQ(Text(), "keep me");
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(view->IsDraggingText());
}

TEST_F(MouseSelectionTest, CursorShowsWhatAPressWouldDo)
{
    SetText("select me");
    view->SelectRange({0, 0}, {6, 0});
    struct Case {
        const char* name;
        CPoint point;
        HCURSOR expected;
    };
    margin_cursor::Register();
    const Case cases[] = {
        {"margin", MarginPoint(0), LoadCursor(margin_cursor::ResourceId)},
        {"selection", CellPoint(2, 0), LoadStandardCursor(IDC_ARROW)},
        {"text", CellPoint(8, 0), LoadStandardCursor(IDC_IBEAM)},
    };
    for (const auto& testCase : cases) {
        backend.MouseMove(*view, testCase.point);
        EXPECT_EQ(backend.Cursor(), testCase.expected) << testCase.name;
    }
}

TEST_F(MouseSelectionTest, RightClickOutsideTheSelectionMovesTheCaret)
{
    SetText("some words here");
    view->SelectRange({0, 0}, {4, 0});
    backend.MouseButton(*view, WM_RBUTTONDOWN, CellPoint(2, 0));
    EXPECT_EQ(Selection(), Span({0, 0}, {4, 0}));
    backend.MouseButton(*view, WM_RBUTTONDOWN, CellPoint(11, 0));
    EXPECT_EQ(view->CaretPos(), (TextPosition{11, 0}));
    EXPECT_FALSE(view->HasSelection());
}

}  // namespace
}  // namespace views_test
