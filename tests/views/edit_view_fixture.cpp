#include "edit_view_fixture.h"
#include "view_in_frame.h"

#include "platform/command_ids.h"
#include "platform/resources.h"
#include "views/editor_command_ids.h"

#include <algorithm>
#include <array>

namespace views_test {

void EditFrame::RegisterResources()
{
    using platform::MenuItem;
    platform::resources::AddMenu(
        ResourceId, {MenuItem::Popup("&Edit", {MenuItem::Command("&Undo\tCtrl+Z", ID_EDIT_UNDO),
                                                MenuItem::Command("&Redo\tCtrl+Y", ID_EDIT_REDO),
                                                MenuItem::Command("Cu&t\tCtrl+X", ID_EDIT_CUT),
                                                MenuItem::Command("&Copy\tCtrl+C", ID_EDIT_COPY),
                                                MenuItem::Command("&Paste\tCtrl+V", ID_EDIT_PASTE),
                                                MenuItem::Command("&Overwrite\tIns", ID_EDIT_SWITCH_OVRMODE)})});
}

int EditFrame::OnCreate(CREATESTRUCT* create)
{
    if (CFrameWnd::OnCreate(create) == -1)
        return -1;
    static constexpr std::array<UINT, 3> Indicators = {ID_SEPARATOR, ID_INDICATOR_OVR, ID_INDICATOR_POSITION};
    if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(Indicators.data(), static_cast<int>(Indicators.size())))
        return -1;
    return 0;
}

const platform::StatusPaneState& EditFrame::OverwritePane()
{
    OnIdleUpdateCmdUI();
    return dynamic_cast<platform::headless::HeadlessWindow&>(*Peer()).StatusPanes()[1];
}

void EditViewTest::SetUp()
{
    EditFrame::RegisterResources();
    view = OpenViewInFrame<CQuillEditView>(backend, frame, EditFrame::ResourceId, {Margin, Columns, Rows}, buffer);
    ASSERT_NE(view, nullptr);
    view->SetFocus();
    ASSERT_TRUE(view->HasFocus());
}

void EditViewTest::SetText(const std::string& text)
{
    std::string withBreaks = text;
    std::replace(withBreaks.begin(), withBreaks.end(), '\n', '\r');
    buffer.CreateEmpty(LineEndingStyle::Lf);
    std::int32_t endLine = 0;
    std::int32_t endChar = 0;
    ASSERT_TRUE(buffer.RawInsertText(nullptr, 0, 0, withBreaks, endLine, endChar));
    PlaceCaret({0, 0});
}

std::string EditViewTest::Text() const
{
    std::string text;
    buffer.ExtractText(0, 0, buffer.LineCount() - 1, buffer.LineLength(buffer.LineCount() - 1), text, "\n");
    return text;
}

void EditViewTest::Select(TextPosition anchor, TextPosition caret)
{
    view->SetCaretPos(caret);
    view->SetSelectionAnchor(anchor);
    view->SelectRange(anchor, caret);
}

TextPosition EditViewTest::SelectionStart() const
{
    TextPosition start;
    TextPosition end;
    view->GetSelection(start, end);
    return start;
}

TextPosition EditViewTest::SelectionEnd() const
{
    TextPosition start;
    TextPosition end;
    view->GetSelection(start, end);
    return end;
}

std::string EditViewTest::MenuText(UINT command)
{
    const platform::MenuItem* entry = backend.OpenMenuEntry(frame, command);
    return entry == nullptr ? std::string() : entry->text;
}

bool EditViewTest::MenuEnabled(UINT command)
{
    const platform::MenuItem* entry = backend.OpenMenuEntry(frame, command);
    return entry != nullptr && entry->enabled;
}

int EditViewTest::UndoSteps()
{
    int steps = 0;
    while (buffer.CanUndo()) {
        Undo();
        ++steps;
    }
    return steps;
}

}  // namespace views_test
