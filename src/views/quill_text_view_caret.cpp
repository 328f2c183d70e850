#include "views/quill_text_view.h"

#include "views/tab_expansion.h"

#include <algorithm>

void CQuillTextView::PlaceCaret()
{
    if (GetSafeHwnd() == nullptr)
        return;
    if (!m_hasFocus || m_caretSuppressed || ColumnOfChar(m_caretPos.line, m_caretPos.character) < m_firstColumn) {
        HideCaret();
        return;
    }
    CreateSolidCaret(2, LineHeight());
    CWnd::SetCaretPos(TextToPoint(m_caretPos));
    ShowCaret();
}

void CQuillTextView::SuppressCaret(bool suppressed)
{
    m_caretSuppressed = suppressed;
    PlaceCaret();
}

CPoint CQuillTextView::TextToPoint(TextPosition position)
{
    const int column = ColumnOfChar(position.line, position.character);
    return {(column - m_firstColumn) * CharWidth() + MarginWidth(), (position.line - m_topLine) * LineHeight()};
}

TextPosition CQuillTextView::PointToText(CPoint point)
{
    const int line = LimitedTopLine(point.y / LineHeight() + m_topLine);
    // Truncating toward zero, so a point just left of the text reads as column 0.
    const int column = std::max((point.x - MarginWidth()) / CharWidth() + m_firstColumn, 0);
    return {tab_expansion::IndexCoveringColumn(LineText(line), column, m_tabSize, Encoding()), line};
}

TextPosition CQuillTextView::TextEnd() const
{
    const int last = std::max(LineCount() - 1, 0);
    return {LineLength(last), last};
}

TextPosition CQuillTextView::LimitedToText(TextPosition position) const
{
    const int line = std::clamp(position.line, 0, std::max(LineCount() - 1, 0));
    return {std::clamp(position.character, 0, LineLength(line)), line};
}

TextPosition CQuillTextView::OnCharacter(TextPosition position) const
{
    return {utf8::CharacterStart(LineText(position.line), position.character, Encoding()), position.line};
}

void CQuillTextView::SetCaretPos(TextPosition position)
{
    if (LineCount() < 1)
        return;
    m_caretPos = OnCharacter(LimitedToText(position));
    SetIdealColumnFromCaret();
    m_anchorPos = m_caretPos;
    PlaceCaret();
}

void CQuillTextView::SetIdealColumnFromCaret()
{
    m_idealColumn = ColumnOfChar(m_caretPos.line, m_caretPos.character);
}

void CQuillTextView::KeepPositionsOnCharacters()
{
    m_caretPos = OnCharacter(m_caretPos);
    m_anchorPos = OnCharacter(m_anchorPos);
    m_selStart = OnCharacter(m_selStart);
    m_selEnd = OnCharacter(m_selEnd);
    m_idealColumn = -1;
}

void CQuillTextView::SetSelectionVisibility(SelectionVisibility visibility)
{
    m_selectionVisibility = visibility;
    RepaintSelectionLines();
}

void CQuillTextView::GetSelection(TextPosition& start, TextPosition& end) const
{
    start = std::min(m_selStart, m_selEnd);
    end = std::max(m_selStart, m_selEnd);
}

void CQuillTextView::SelectRange(TextPosition start, TextPosition end)
{
    const auto repaintBetween = [this](TextPosition first, TextPosition second) {
        RepaintLines(std::min(first.line, second.line), std::max(first.line, second.line));
    };
    if (start != m_selStart) {
        repaintBetween(start, end);
        repaintBetween(m_selStart, m_selEnd);
    } else if (end != m_selEnd) {
        repaintBetween(end, m_selEnd);
    }
    m_selStart = start;
    m_selEnd = end;
}

void CQuillTextView::SelectAll()
{
    const TextPosition end = TextEnd();
    SelectRange({0, 0}, end);
    m_caretPos = end;
    m_anchorPos = {0, 0};
    SetIdealColumnFromCaret();
    PlaceCaret();
}

void CQuillTextView::SelectFoundText(TextPosition start, int length)
{
    start = LimitedToText(start);
    m_caretPos = {std::min(start.character + length, LineLength(start.line)), start.line};
    m_anchorPos = m_caretPos;
    SelectRange(start, m_caretPos);
    SetIdealColumnFromCaret();
    PlaceCaret();
    BringIntoView(m_caretPos);
}

void CQuillTextView::RepaintSelectionLines()
{
    if (!HasSelection())
        return;
    TextPosition start;
    TextPosition end;
    GetSelection(start, end);
    RepaintLines(start.line, end.line);
}

void CQuillTextView::OnSetFocus(CWnd* oldWindow)
{
    CView::OnSetFocus(oldWindow);
    m_hasFocus = true;
    RepaintSelectionLines();
    PlaceCaret();
}

void CQuillTextView::OnKillFocus(CWnd* newWindow)
{
    CView::OnKillFocus(newWindow);
    m_hasFocus = false;
    EndMouseSelection();
    PlaceCaret();
    RepaintSelectionLines();
}
