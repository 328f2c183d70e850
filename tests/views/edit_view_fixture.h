#pragma once

#include "buffer/quill_text_buffer.h"
#include "platform/control_bars.h"
#include "platform/frame_wnd.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_window.h"
#include "platform/virtual_keys.h"
#include "views/quill_edit_view.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>

inline void PrintTo(const TextPosition& position, std::ostream* stream)
{
    *stream << "(char " << position.character << ", line " << position.line << ")";
}

namespace views_test {

// A frame with an Edit menu (undo and redo) and a status bar with the message, "OVR" and
// position panes, as the editor's frame has them.
class EditFrame : public CFrameWnd {
public:
    static constexpr UINT ResourceId = 7;
    static void RegisterResources();

    const platform::StatusPaneState& OverwritePane();

protected:
    int OnCreate(CREATESTRUCT* create) override;

private:
    CStatusBar m_statusBar;
};

// One editable view of `Columns` x `Rows` cells with the keyboard focus, bound to a plain buffer.
// Commands are given as the keys that run them.
class EditViewTest : public testing::Test {
protected:
    static constexpr int Columns = 40;
    static constexpr int Rows = 8;
    static constexpr int Margin = 20;

    void SetUp() override;

    // Replaces the text (lines separated by "\n"); the undo list starts empty and the caret at (0, 0).
    void SetText(const std::string& text);
    // The text with "\n" between the lines.
    std::string Text() const;
    // A selection from `anchor` to `caret`, the caret at its end, as Shift with the arrow keys
    // would make it.
    void Select(TextPosition anchor, TextPosition caret);
    void PlaceCaret(TextPosition caret) { Select(caret, caret); }

    void Press(UINT key, std::initializer_list<int> modifiers = {}) { backend.PressKey(key, modifiers); }
    void Type(std::string_view ascii) { backend.Type(ascii); }
    void Type(std::u32string_view text) { backend.Type(text); }
    void Enter() { backend.PressKey(VK_RETURN, {}, U'\r'); }

    // The menu entry as the Edit menu shows it when opened.
    std::string MenuText(UINT command);
    bool MenuEnabled(UINT command);
    // Undoes (redoes) with Ctrl+Z (Ctrl+Y).
    void Undo() { Press('Z', {VK_CONTROL}); }
    void Redo() { Press('Y', {VK_CONTROL}); }
    // How many Ctrl+Z presses change the text until nothing is left to undo.
    int UndoSteps();

    TextPosition Caret() const { return view->CaretPos(); }
    TextPosition SelectionStart() const;
    TextPosition SelectionEnd() const;

    platform::headless::HeadlessBackend backend;
    CQuillTextBuffer buffer;
    EditFrame frame;
    CQuillEditView* view = nullptr;
};

}  // namespace views_test
