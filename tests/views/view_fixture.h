#pragma once

#include "buffer/quill_text_buffer.h"
#include "platform/frame_wnd.h"
#include "platform/headless/headless_backend.h"
#include "platform/win_app.h"
#include "platform/cmd_ui.h"
#include "platform/doc_template.h"
#include "views/quill_edit_view.h"
#include "view_in_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

namespace views_test {

// A frame with one view of `Columns` text columns and `Rows` bands, bound to a plain buffer, in an
// application whose profile is the backend's memory store.
template <class View>
class ViewFixture : public testing::Test {
protected:
    static constexpr int Columns = 30;
    static constexpr int Rows = 6;
    static constexpr int Margin = 20;

    void SetUp() override;

    // Replaces the text without undo records; lines are separated by "\n".
    void SetText(const std::string& text);
    // The text with "\n" between lines.
    std::string Text() const;
    // A point inside the cell of a text column in a band (the left quarter of the cell).
    static CPoint CellPoint(int column, int row);
    std::pair<TextPosition, TextPosition> Selection() const;
    void Command(UINT id);
    bool IsEnabled(UINT id);
    // The number of steps Undo can take.
    int UndoSteps();
    platform::headless::MemoryProfileStore::Values& Profile();

    platform::headless::HeadlessBackend backend;
    CWinApp application{"Quillwright"};
    CQuillTextBuffer buffer;
    CFrameWnd frame;
    View* view = nullptr;
};

using platform::headless::CellHeight;
using platform::headless::CellWidth;

template <class View>
void ViewFixture<View>::SetUp()
{
    application.SetRegistryKey("TVL");
    view = OpenViewInFrame<View>(backend, frame, 1, {Margin, Columns, Rows}, buffer);
    ASSERT_NE(view, nullptr);
    view->SetFocus();
}

template <class View>
void ViewFixture<View>::SetText(const std::string& text)
{
    std::string withBreaks = text;
    std::replace(withBreaks.begin(), withBreaks.end(), '\n', '\r');
    buffer.Clear();
    buffer.CreateEmpty(LineEndingStyle::Lf);
    std::int32_t endLine = 0;
    std::int32_t endChar = 0;
    ASSERT_TRUE(buffer.RawInsertText(nullptr, 0, 0, withBreaks, endLine, endChar));
    view->BindBuffer(&buffer);
}

template <class View>
std::string ViewFixture<View>::Text() const
{
    const int lastLine = buffer.LineCount() - 1;
    std::string text;
    buffer.ExtractText(0, 0, lastLine, buffer.LineLength(lastLine), text, "\n");
    return text;
}

template <class View>
CPoint ViewFixture<View>::CellPoint(int column, int row)
{
    return {Margin + column * CellWidth + 1, row * CellHeight + 1};
}

template <class View>
std::pair<TextPosition, TextPosition> ViewFixture<View>::Selection() const
{
    TextPosition start;
    TextPosition end;
    view->GetSelection(start, end);
    return {start, end};
}

template <class View>
void ViewFixture<View>::Command(UINT id)
{
    view->SendMessage(WM_COMMAND, id);
}

template <class View>
bool ViewFixture<View>::IsEnabled(UINT id)
{
    CCmdUI commandUi;
    commandUi.m_nID = id;
    commandUi.DoUpdate(view, CCmdUI::Unhandled::Disable);
    return commandUi.m_bEnabled;
}

template <class View>
int ViewFixture<View>::UndoSteps()
{
    int steps = 0;
    TextPosition caret;
    while (buffer.CanUndo() && buffer.Undo(caret))
        ++steps;
    for (int step = 0; step < steps; ++step)
        buffer.Redo(caret);
    return steps;
}

template <class View>
platform::headless::MemoryProfileStore::Values& ViewFixture<View>::Profile()
{
    return backend.ProfileValues("TVL", "Quillwright");
}

using TextViewFixture = ViewFixture<CQuillTextView>;
using EditViewFixture = ViewFixture<CQuillEditView>;

}  // namespace views_test
