#include "edit_view_fixture.h"

#include "platform/command_ids.h"
#include "platform/drag_drop.h"
#include "utils/test_scratch_directory.h"

#include <sys/stat.h>

namespace views_test {
namespace {

using platform::headless::CellHeight;
using platform::headless::CellWidth;
using platform::headless::DragStep;

class EditViewDropTest : public EditViewTest {
protected:
    // The client point inside a text cell of the first screen.
    static CPoint PointOf(int column, int row) { return {Margin + column * CellWidth + 1, row * CellHeight + 1}; }

    // Text dragged in from another window, dropped at the point; the effect the drop took.
    DROPEFFECT Drop(const std::string& text, CPoint over, CPoint at, DWORD keyState = 0)
    {
        backend.ScriptDrag({{view, over, keyState, DragStep::Action::Move}, {view, at, keyState, DragStep::Action::Drop}});
        COleDataSource source;
        source.CacheText(text);
        return source.DoDragDrop(&frame, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    }
    COleDropTarget& Target()
    {
        COleDropTarget* target = COleDropTarget::ForWindow(view);
        EXPECT_NE(target, nullptr);
        return *target;
    }
};

TEST_F(EditViewDropTest, DroppedTextIsInsertedWhereItFallsAndSelected)
{
    SetText("one two\nthree");
    EXPECT_EQ(Drop("new ", PointOf(4, 0), PointOf(2, 1)), DROPEFFECT_MOVE);
    EXPECT_EQ(Text(), "one two\nthnew ree");
    EXPECT_EQ(SelectionStart(), (TextPosition{2, 1}));
    EXPECT_EQ(SelectionEnd(), (TextPosition{6, 1}));
    EXPECT_EQ(Caret(), (TextPosition{6, 1}));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Drag And Drop\tCtrl+Z");
    EXPECT_FALSE(view->DropIndicatorShown());
    EXPECT_FALSE(view->IsCaretSuppressed());

    EXPECT_EQ(Drop("a\nb", PointOf(0, 0), PointOf(0, 0), MK_CONTROL), DROPEFFECT_COPY) << "Ctrl copies";
    EXPECT_EQ(Text(), "a\nbone two\nthnew ree");
    EXPECT_EQ(UndoSteps(), 2);
}

TEST_F(EditViewDropTest, DraggingTheSelectionWithinTheViewMovesItsBytesAsOneStep)
{
    const std::string bytes = "one t\xFFo three";
    SetText(bytes);
    Select({4, 0}, {7, 0});
    backend.ScriptDrag({{view, PointOf(13, 0), 0, DragStep::Action::Move}, {view, PointOf(13, 0), 0, DragStep::Action::Drop}});
    backend.MouseButton(*view, WM_LBUTTONDOWN, PointOf(5, 0));
    backend.MouseMove(*view, PointOf(6, 0));
    backend.MouseButton(*view, WM_LBUTTONUP, PointOf(6, 0));
    EXPECT_EQ(Text(), "one  threet\xFFo") << "the invalid byte moves unchanged";
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Drag And Drop\tCtrl+Z");
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_EQ(Text(), bytes);

    // Dropped inside itself, nothing moves and the caret goes where it fell.
    Select({4, 0}, {7, 0});
    backend.ScriptDrag({{view, PointOf(6, 0), 0, DragStep::Action::Move}, {view, PointOf(6, 0), 0, DragStep::Action::Drop}});
    backend.MouseButton(*view, WM_LBUTTONDOWN, PointOf(5, 0));
    backend.MouseMove(*view, PointOf(6, 0));
    backend.MouseButton(*view, WM_LBUTTONUP, PointOf(6, 0));
    EXPECT_EQ(Text(), bytes);
    EXPECT_FALSE(buffer.CanUndo());
}

TEST_F(EditViewDropTest, TheDropIndicatorStandsInForTheCaretWhileTheDragIsOverTheView)
{
    SetText("abcdef\nghi");
    PlaceCaret({1, 0});
    COleDataObject data(std::string("x"));
    EXPECT_EQ(Target().OnDragEnter(view, &data, 0, PointOf(3, 1)), DROPEFFECT_MOVE);
    EXPECT_TRUE(view->DropIndicatorShown());
    EXPECT_TRUE(view->IsCaretSuppressed());
    EXPECT_EQ(Target().OnDragOver(view, &data, MK_CONTROL, PointOf(5, 0)), DROPEFFECT_COPY);
    COleDataObject nothing(std::nullopt);
    EXPECT_EQ(Target().OnDragOver(view, &nothing, 0, PointOf(5, 0)), DROPEFFECT_NONE);
    EXPECT_FALSE(view->DropIndicatorShown()) << "no text, no indicator";
    Target().OnDragEnter(view, &data, 0, PointOf(3, 1));
    Target().OnDragLeave(view);
    EXPECT_FALSE(view->DropIndicatorShown());
    EXPECT_FALSE(view->IsCaretSuppressed());
    EXPECT_EQ(Caret(), (TextPosition{1, 0}));
    EXPECT_EQ(Text(), "abcdef\nghi");
}

TEST_F(EditViewDropTest, ADragNearAnEdgeScrollsTheView)
{
    std::string text;
    for (int line = 0; line < 30; ++line)
        text += std::string(60, 'a' + line % 26) + "\n";
    SetText(text);
    COleDataObject data(std::string("x"));
    Target().OnDragEnter(view, &data, 0, PointOf(3, 3));
    EXPECT_EQ(Target().OnDragScroll(view, 0, {Margin + 40, Rows * CellHeight - 2}), DROPEFFECT_MOVE);
    EXPECT_EQ(view->TopLine(), 1);
    EXPECT_TRUE(view->DropIndicatorShown()) << "shown again after the scroll";
    Target().OnDragScroll(view, 0, {Margin + Columns * CellWidth - 2, 40});
    EXPECT_EQ(view->FirstColumn(), 1);
    Target().OnDragScroll(view, 0, {Margin + 2, 40});
    EXPECT_EQ(view->FirstColumn(), 0);
    Target().OnDragScroll(view, 0, {Margin + 40, 2});
    EXPECT_EQ(view->TopLine(), 0);
    Target().OnDragScroll(view, 0, {Margin + 40, 40});
    EXPECT_EQ(view->TopLine(), 0) << "the middle does not scroll";
    Target().OnDragLeave(view);
}

TEST_F(EditViewDropTest, ALegacyDocumentRefusesDroppedCharactersItsSetLacks)
{
    SetText("abc");
    buffer.SetEncoding(TextEncoding::Legacy);
    EXPECT_EQ(Drop("\xE4\xB8\xAD", PointOf(1, 0), PointOf(1, 0)), DROPEFFECT_NONE);
    EXPECT_EQ(Text(), "abc");
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(Drop("\xC3\xA9", PointOf(1, 0), PointOf(1, 0)), DROPEFFECT_MOVE);
    EXPECT_EQ(Text(), "a\xE9" "bc");
}

// A document whose file cannot be written is read-only: nothing changes it, and nothing is lost.
TEST_F(EditViewDropTest, AReadOnlyDocumentRefusesEveryChangeAndKeepsTheClipboard)
{
    utils::testing::ScratchDirectory directory;
    const std::string path = directory / "locked.tex";
    utils::testing::WriteFile(path, "first line\n  second\nthird");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_TRUE(buffer.LoadFile(path, LineEndingStyle::Automatic));
    ASSERT_TRUE(buffer.IsReadOnly());
    EXPECT_FALSE(view->IsEditable());
    const std::string text = Text();
    backend.SetClipboardText("kept");

    Select({2, 0}, {3, 1});
    Type("x");
    Enter();
    Press(VK_TAB);
    Press(VK_TAB, {VK_SHIFT});
    Press(VK_DELETE);
    Press(VK_BACK);
    Press('X', {VK_CONTROL});
    Press('V', {VK_CONTROL});
    EXPECT_EQ(Drop("dropped", PointOf(0, 0), PointOf(0, 0)), DROPEFFECT_NONE);
    EXPECT_EQ(Text(), text);
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_EQ(backend.ClipboardText(), "kept") << "a refused cut does not take the clipboard";
    EXPECT_FALSE(MenuEnabled(ID_EDIT_CUT));
    EXPECT_FALSE(MenuEnabled(ID_EDIT_PASTE));
    EXPECT_TRUE(MenuEnabled(ID_EDIT_COPY));
    EXPECT_FALSE(MenuEnabled(ID_EDIT_UNDO));
    Press('C', {VK_CONTROL});
    EXPECT_EQ(backend.ClipboardText(), "rst line\n  s") << "copying still works";
}

TEST_F(EditViewDropTest, WithoutABufferNothingHappens)
{
    view->BindBuffer(nullptr);
    ASSERT_EQ(view->Buffer(), nullptr);
    Type("abc");
    Enter();
    Press(VK_DELETE);
    Press(VK_BACK);
    Press(VK_TAB);
    Press('Z', {VK_CONTROL});
    EXPECT_EQ(Drop("x", PointOf(0, 0), PointOf(0, 0)), DROPEFFECT_NONE);
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 0}));
}

}  // namespace
}  // namespace views_test
