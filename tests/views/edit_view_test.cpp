#include "edit_view_fixture.h"

#include "platform/command_ids.h"
#include "platform/drag_drop.h"
#include "views/editor_command_ids.h"

namespace views_test {
namespace {

TEST_F(EditViewTest, TypingMakesOneUndoStepPerWordWithTheSpaceBeforeIt)
{
    Type("ab cd");
    EXPECT_EQ(Text(), "ab cd");
    EXPECT_EQ(Caret(), (TextPosition{5, 0}));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Typing\tCtrl+Z");
    EXPECT_EQ(MenuText(ID_EDIT_REDO), "&Redo\tCtrl+Y");
    EXPECT_FALSE(MenuEnabled(ID_EDIT_REDO));
    Undo();
    EXPECT_EQ(Text(), "ab");
    EXPECT_EQ(Caret(), (TextPosition{2, 0}));
    EXPECT_EQ(MenuText(ID_EDIT_REDO), "&Redo Typing\tCtrl+Y");
    Undo();
    EXPECT_EQ(Text(), "");
    EXPECT_FALSE(MenuEnabled(ID_EDIT_UNDO));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo\tCtrl+Z");
    Redo();
    Redo();
    EXPECT_EQ(Text(), "ab cd");
    EXPECT_EQ(Caret(), (TextPosition{5, 0}));
}

TEST_F(EditViewTest, TypedCharactersJoinTheStepBeforeThemWhateverItWas)
{
    backend.SetClipboardText("xy");
    Press('V', {VK_CONTROL});
    Type("z");
    EXPECT_EQ(Text(), "xyz");
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Paste\tCtrl+Z");
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_EQ(Text(), "");
}

TEST_F(EditViewTest, ControlCharactersAndCharactersTypedWithAButtonDownInsertNothing)
{
    SetText("abc");
    backend.PressKey(VK_ESCAPE, {}, U'\x1b');
    backend.SetKeyDown(VK_LBUTTON, true);
    Type("x");
    backend.SetKeyDown(VK_LBUTTON, false);
    EXPECT_EQ(Text(), "abc");
    EXPECT_FALSE(buffer.CanUndo());
}

TEST_F(EditViewTest, EnterIndentsLikeTheLineAboveAsAStepOfItsOwn)
{
    SetText("\t\tx");
    PlaceCaret({3, 0});
    Enter();
    EXPECT_EQ(Text(), "\t\tx\n\t\t");
    EXPECT_EQ(Caret(), (TextPosition{2, 1}));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Auto Indent\tCtrl+Z");
    Undo();
    EXPECT_EQ(Text(), "\t\tx\n");
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Typing\tCtrl+Z");
    Undo();
    EXPECT_EQ(Text(), "\t\tx");

    // A selection is replaced by the line break; a line without indentation adds nothing.
    SetText("ab  cd");
    Select({2, 0}, {4, 0});
    Enter();
    EXPECT_EQ(Text(), "ab\ncd");
    EXPECT_EQ(Caret(), (TextPosition{0, 1}));
    EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(EditViewTest, OverwriteModeReplacesCharactersAndShowsItsPane)
{
    SetText("abc\ndef");
    EXPECT_FALSE(frame.OverwritePane().enabled);
    Press(VK_INSERT);
    EXPECT_TRUE(view->OverwriteMode());
    EXPECT_TRUE(frame.OverwritePane().enabled);
    EXPECT_EQ(frame.OverwritePane().text, "OVR");
    EXPECT_TRUE(backend.OpenMenuEntry(frame, ID_EDIT_SWITCH_OVRMODE)->checked);

    PlaceCaret({1, 0});
    Type("X");
    EXPECT_EQ(Text(), "aXc\ndef");
    PlaceCaret({3, 0});
    Type("Y");
    EXPECT_EQ(Text(), "aXcY\ndef") << "at the end of a line it appends";
    Enter();
    EXPECT_EQ(Caret(), (TextPosition{0, 1})) << "Enter only moves to the next line";
    EXPECT_EQ(Text(), "aXcY\ndef");
    Select({0, 1}, {2, 1});
    Type("Z");
    EXPECT_EQ(Text(), "aXcY\nZf") << "a selection is replaced, nothing after it";
    PlaceCaret({2, 1});
    Enter();
    EXPECT_EQ(Text(), "aXcY\nZf\n") << "on the last line Enter breaks it, without indentation";

    Press(VK_INSERT);
    EXPECT_FALSE(view->OverwriteMode());
    EXPECT_FALSE(frame.OverwritePane().enabled);

    Press(VK_INSERT);
    SetText("\xC3\xA9x");
    EXPECT_FALSE(view->OverwriteMode()) << "a new text starts in insert mode";
    Press(VK_INSERT);
    Type("a");
    EXPECT_EQ(Text(), "ax") << "a character of two bytes is replaced whole";
}

struct DeletionCase {
    const char* text;
    TextPosition caret;
    UINT key;
    const char* expected;
    TextPosition expectedCaret;
    const char* undoName;  // null: nothing was deleted
};

TEST_F(EditViewTest, DeleteAndBackspaceRemoveWholeCharactersAndJoinLines)
{
    const DeletionCase cases[] = {
        {"abc\ndef", {0, 1}, VK_BACK, "abcdef", {3, 0}, "Backspace"},
        {"abc", {0, 0}, VK_BACK, "abc", {0, 0}, nullptr},
        {"abc\ndef", {3, 0}, VK_DELETE, "abcdef", {3, 0}, "Delete"},
        {"abc\ndef", {3, 1}, VK_DELETE, "abc\ndef", {3, 1}, nullptr},
        {"a\xC3\xA9" "b", {3, 0}, VK_BACK, "ab", {1, 0}, "Backspace"},
        {"a\xC3\xA9" "b", {1, 0}, VK_DELETE, "ab", {1, 0}, "Delete"},
        {"\xF0\x9F\x98\x80!", {0, 0}, VK_DELETE, "!", {0, 0}, "Delete"},
        {"a\xE2\x82\xAC\x80z", {5, 0}, VK_BACK, "a\xE2\x82\xAC" "z", {4, 0}, "Backspace"},
        {"\xC3\xC3\xA9", {1, 0}, VK_BACK, "\xC3\xA9", {0, 0}, "Backspace"},
        {"\xE2\x82", {0, 0}, VK_DELETE, "\x82", {0, 0}, "Delete"},
    };
    for (const DeletionCase& test : cases) {
        SCOPED_TRACE(test.text);
        SetText(test.text);
        PlaceCaret(test.caret);
        Press(test.key);
        EXPECT_EQ(Text(), test.expected);
        EXPECT_EQ(Caret(), test.expectedCaret);
        EXPECT_FALSE(view->HasSelection());
        if (test.undoName == nullptr) {
            EXPECT_FALSE(buffer.CanUndo());
            continue;
        }
        EXPECT_EQ(MenuText(ID_EDIT_UNDO), std::string("&Undo ") + test.undoName + "\tCtrl+Z");
        Undo();
        EXPECT_EQ(Text(), test.text);
    }
}

TEST_F(EditViewTest, BackspaceOnASelectionDeletesItAsDelete)
{
    SetText("hello\nworld");
    Select({4, 1}, {1, 0});
    Press(VK_BACK);
    EXPECT_EQ(Text(), "hd");
    EXPECT_EQ(Caret(), (TextPosition{1, 0}));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Delete\tCtrl+Z");
}

TEST_F(EditViewTest, TabIndentsTheLinesOfAMultiLineSelectionAsOneStep)
{
    SetText("line0\nline1\nline2\nline3\nline4\nline5");
    Select({3, 2}, {0, 5});
    Press(VK_TAB);
    EXPECT_EQ(Text(), "line0\nline1\n\tline2\n\tline3\n\tline4\nline5");
    EXPECT_EQ(SelectionStart(), (TextPosition{0, 2}));
    EXPECT_EQ(SelectionEnd(), (TextPosition{0, 5}));
    EXPECT_EQ(Caret(), (TextPosition{0, 5}));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Indent\tCtrl+Z");
    Press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(Text(), "line0\nline1\nline2\nline3\nline4\nline5");
    EXPECT_EQ(UndoSteps(), 2);

    // Ending inside the last line: that line is included and the selection reaches its end.
    SetText("ab\ncd");
    Select({1, 0}, {1, 1});
    Press(VK_TAB);
    EXPECT_EQ(Text(), "\tab\n\tcd");
    EXPECT_EQ(SelectionStart(), (TextPosition{0, 0}));
    EXPECT_EQ(SelectionEnd(), (TextPosition{3, 1}));
}

TEST_F(EditViewTest, ShiftTabRemovesOneTabStopOfIndentationFromEachLine)
{
    SetText("      six\n  \tmixed\n\t\ttwo tabs\nnone\n\n   three");
    Select({0, 0}, {8, 5});
    Press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(Text(), "  six\nmixed\n\ttwo tabs\nnone\n\nthree");
    EXPECT_EQ(UndoSteps(), 1);
}

struct CaretTabCase {
    const char* text;
    TextPosition caret;
    bool overwrite;
    bool shift;
    TextPosition expectedCaret;
};

TEST_F(EditViewTest, TabInOverwriteModeAndShiftTabWithoutABlockOnlyMoveTheCaret)
{
    const CaretTabCase cases[] = {
        {"abcdefgh", {1, 0}, true, false, {4, 0}},
        {"a\tbc", {0, 0}, true, false, {2, 0}},
        {"abcdefghij", {6, 0}, false, true, {4, 0}},
        {"abcdefghij", {4, 0}, false, true, {0, 0}},
        {"\tabc", {3, 0}, false, true, {1, 0}},
        {"abc", {0, 0}, false, true, {0, 0}},
    };
    for (const CaretTabCase& test : cases) {
        SCOPED_TRACE(test.text);
        SetText(test.text);
        if (view->OverwriteMode() != test.overwrite)
            Press(VK_INSERT);
        PlaceCaret(test.caret);
        if (test.shift)
            Press(VK_TAB, {VK_SHIFT});
        else
            Press(VK_TAB);
        EXPECT_EQ(Text(), test.text);
        EXPECT_EQ(Caret(), test.expectedCaret);
        EXPECT_FALSE(buffer.CanUndo());
    }
}

TEST_F(EditViewTest, TabWithinALineInsertsATabForTheSelection)
{
    SetText("abcd");
    Select({1, 0}, {3, 0});
    Press(VK_TAB);
    EXPECT_EQ(Text(), "a\td");
    EXPECT_EQ(Caret(), (TextPosition{2, 0}));
    EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(EditViewTest, CutCopyAndPasteGoThroughTheClipboardWithThisSystemsLineEnds)
{
    SetText("one\ntwo");
    EXPECT_FALSE(MenuEnabled(ID_EDIT_CUT));
    EXPECT_FALSE(MenuEnabled(ID_EDIT_COPY));
    Select({1, 0}, {2, 1});
    Press('C', {VK_CONTROL});
    EXPECT_EQ(backend.ClipboardText(), "ne\ntw");
    backend.SetClipboardText("");
    Press(VK_INSERT, {VK_CONTROL});
    EXPECT_EQ(backend.ClipboardText(), "ne\ntw");
    Press('X', {VK_CONTROL});
    EXPECT_EQ(Text(), "oo");
    EXPECT_EQ(Caret(), (TextPosition{1, 0}));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Cut\tCtrl+Z");
    Press('V', {VK_CONTROL});
    EXPECT_EQ(Text(), "one\ntwo");
    EXPECT_EQ(Caret(), (TextPosition{2, 1}));

    // Text from other programs: a line feed alone breaks the line as well.
    backend.SetClipboardText("a\nb\r\nc");
    Select({0, 0}, {3, 0});
    Press(VK_INSERT, {VK_SHIFT});
    EXPECT_EQ(Text(), "a\nb\nc\ntwo");
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Delete Selection\tCtrl+Z");
    Undo();
    EXPECT_EQ(Text(), "one\ntwo") << "deleting the selection and pasting are one step";

    Select({0, 1}, {3, 1});
    Press(VK_DELETE, {VK_SHIFT});
    EXPECT_EQ(Text(), "one\n");
    EXPECT_EQ(backend.ClipboardText(), "two");

    backend.PutNonTextOnClipboard();
    EXPECT_FALSE(MenuEnabled(ID_EDIT_PASTE));
}

TEST_F(EditViewTest, CutAndPasteKeepInvalidBytesExactly)
{
    const std::string bytes = "a\x80\xC3 b\xFF\nz\xE2\x82";
    SetText(bytes);
    Select({0, 0}, {3, 1});
    Press('X', {VK_CONTROL});
    EXPECT_EQ(backend.ClipboardText(), "a\xEF\xBF\xBD\xEF\xBF\xBD b\xEF\xBF\xBD\nz\xEF\xBF\xBD\xEF\xBF\xBD")
        << "other programs get valid Unicode";
    EXPECT_EQ(Text(), "");
    Press('V', {VK_CONTROL});
    EXPECT_EQ(Text(), bytes);
}

TEST_F(EditViewTest, TypingAndPastingInALegacyDocumentUseItsCharacterSet)
{
    SetText("");
    buffer.SetEncoding(TextEncoding::Legacy);
    Type(U"\u00e9\u20ac");
    EXPECT_EQ(Text(), "\xE9\x80");
    const int beeps = backend.Beeps();
    Type(U"\u4e2d");
    EXPECT_EQ(Text(), "\xE9\x80") << "Windows-1252 has no such character";
    EXPECT_EQ(backend.Beeps(), beeps + 1);

    Select({0, 0}, {1, 0});
    Press('C', {VK_CONTROL});
    EXPECT_EQ(backend.ClipboardText(), "\xC3\xA9");

    backend.SetClipboardText("\xE2\x82\xAC \xE4\xB8\xAD");
    Press('V', {VK_CONTROL});
    EXPECT_EQ(Text(), "\xE9\x80") << "nothing changes, the selection stays";
    EXPECT_TRUE(view->HasSelection());
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_NE(backend.MessageBoxes().back().text.find("U+4E2D"), std::string::npos);

    backend.SetClipboardText("\xC5\xA0");  // S caron, 0x8A in Windows-1252
    Press('V', {VK_CONTROL});
    EXPECT_EQ(Text(), "\x8A\x80");
}

TEST_F(EditViewTest, TypingInAUtf8DocumentInsertsTheUtf8BytesOfTheCharacters)
{
    Type(U"a\u00e9\u4e2d\U0001F600");
    EXPECT_EQ(Text(), "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
    EXPECT_EQ(Caret(), (TextPosition{10, 0}));
    backend.CommitComposedText(U"\u00fc\u00df");
    EXPECT_EQ(Text(), "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\xC3\xBC\xC3\x9F");
    EXPECT_EQ(UndoSteps(), 1);
}

}  // namespace
}  // namespace views_test
