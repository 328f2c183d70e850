#include "view_fixture.h"

#include "platform/clipboard.h"
#include "platform/drag_drop.h"
#include "platform/virtual_keys.h"

namespace views_test {
namespace {

using platform::headless::DragStep;
using Range = std::pair<TextPosition, TextPosition>;

class EditViewMouseTest : public EditViewFixture {
protected:
    void Press(CPoint point, std::initializer_list<int> modifiers = {}) { backend.MouseButton(*view, WM_LBUTTONDOWN, point, modifiers); }
    void Release(CPoint point) { backend.MouseButton(*view, WM_LBUTTONUP, point); }
    void Click(CPoint point)
    {
        Press(point);
        Release(point);
    }
    void DoubleClick(CPoint point)
    {
        Click(point);
        backend.MouseButton(*view, WM_LBUTTONDBLCLK, point);
        Release(point);
    }
    // Drags the selection from `from` with the keys held and drops it at `to`.
    void DragSelection(CPoint from, CPoint to, DWORD keys)
    {
        backend.ScriptDrag({{view, to, keys, DragStep::Action::Move}, {view, to, keys, DragStep::Action::Drop}});
        Press(from);
        backend.MouseMove(*view, from + CSize(CellWidth, 0));
        Release(to);
    }
};

TEST_F(EditViewMouseTest, DragMovesOrCopiesWithinTheViewAsOneUndoStep)
{
    struct Case {
        const char* name;
        DWORD keys;
        std::string expected;
    };
    const Case cases[] = {
        {"move", MK_LBUTTON, "this drag text"},
        {"copy", MK_LBUTTON | MK_CONTROL, "this drag this text"},
    };
    for (const auto& testCase : cases) {
        SetText("drag this text");
        view->SelectRange({5, 0}, {10, 0});
        DragSelection(CellPoint(6, 0), CellPoint(0, 0), testCase.keys);
        EXPECT_EQ(Text(), testCase.expected) << testCase.name;
        EXPECT_EQ(UndoSteps(), 1) << testCase.name;
        TextPosition caret;
        buffer.Undo(caret);
        EXPECT_EQ(Text(), "drag this text") << testCase.name;
    }
}

TEST_F(EditViewMouseTest, MouseSelectionBecomesThePrimarySelection)
{
    SetText("primary text");
    DoubleClick(CellPoint(1, 0));
    EXPECT_EQ(platform::clipboard::PrimarySelection(), "primary");
    Click(CellPoint(10, 0));
    EXPECT_EQ(platform::clipboard::PrimarySelection(), "primary") << "an empty selection leaves it";
    backend.MouseButton(*view, WM_MBUTTONDOWN, CellPoint(0, 0));
    backend.MouseButton(*view, WM_MBUTTONUP, CellPoint(0, 0));
    EXPECT_EQ(Text(), "primaryprimary text");
    EXPECT_FALSE(backend.ClipboardHasText()) << "the clipboard is another thing";
}


TEST_F(EditViewMouseTest, DroppingTextOntoItselfChangesNothing)
{
    struct Case {
        const char* name;
        int dropColumn;
        DWORD keys;
        std::string expected;
    };
    const Case cases[] = {
        {"move inside", 7, MK_LBUTTON, "drag this text"},
        {"move to its start", 5, MK_LBUTTON, "drag this text"},
        {"move to its end", 10, MK_LBUTTON, "drag this text"},
        {"copy inside", 7, MK_LBUTTON | MK_CONTROL, "drag this text"},
    };
    for (const auto& testCase : cases) {
        SetText("drag this text");
        view->SelectRange({5, 0}, {10, 0});
        DragSelection(CellPoint(6, 0), CellPoint(testCase.dropColumn, 0), testCase.keys);
        EXPECT_EQ(Text(), testCase.expected) << testCase.name;
    }
}

}  // namespace
}  // namespace views_test
