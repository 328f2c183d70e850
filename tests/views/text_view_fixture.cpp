#include "text_view_fixture.h"
#include "view_in_frame.h"

#include "platform/system_services.h"

namespace views_test {

void TextViewTest::SetUp()
{
    backend.SetSystemColour(COLOR_WINDOW, WindowColour);
    backend.SetSystemColour(COLOR_WINDOWTEXT, WindowTextColour);
    backend.SetSystemColour(COLOR_SCROLLBAR, ScrollBarColour);
    view = OpenViewInFrame<ScriptedTextView>(backend, frame, 1, {Margin, Columns, Rows}, buffer);
    ASSERT_NE(view, nullptr);
}

void TextViewTest::SetText(const std::string& text)
{
    std::string withBreaks = text;
    std::replace(withBreaks.begin(), withBreaks.end(), '\n', '\r');
    buffer.Clear();
    buffer.CreateEmpty(LineEndingStyle::Lf);
    InsertAt({0, 0}, withBreaks);
    view->ForgetScans();
}

void TextViewTest::InsertAt(TextPosition position, const std::string& text)
{
    std::int32_t endLine = 0;
    std::int32_t endChar = 0;
    ASSERT_TRUE(buffer.InsertText(nullptr, position.line, position.character, text, endLine, endChar,
                                  UndoAction::Typing));
}

void TextViewTest::GiveFocus()
{
    view->SetFocus();
    ASSERT_TRUE(view->HasFocus());
}

void TextViewTest::Repaint()
{
    view->Invalidate(EraseBackground::No);
    backend.PaintAll();
}

} // namespace views_test
