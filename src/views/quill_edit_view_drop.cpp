#include "views/quill_edit_view.h"

#include "buffer/undo_action.h"
#include "platform/messages.h"

#include <algorithm>
#include <optional>

namespace {

// How close to an edge of the client area the pointer scrolls the view while dragging.
constexpr int DragScrollZone = 5;

DROPEFFECT EffectOfKeys(DWORD keyState)
{
    return (keyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

}  // namespace

DROPEFFECT CQuillEditView::DragSourceEffects() const
{
    return DROPEFFECT_COPY | DROPEFFECT_MOVE;
}

void CQuillEditView::OnDragSourceDone(DROPEFFECT effect)
{
    if (!IsDraggingText() || effect != DROPEFFECT_MOVE || !IsEditable())
        return;
    const TextRange range = DraggedRange();
    Buffer()->DeleteText(this, range.start.line, range.start.character, range.end.line, range.end.character,
                         UndoAction::DragAndDrop);
}

DROPEFFECT CQuillEditView::OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point)
{
    return OnDragOver(data, keyState, point);
}

DROPEFFECT CQuillEditView::OnDragOver(COleDataObject* data, DWORD keyState, CPoint point)
{
    if (!IsEditable() || data == nullptr || !data->HasText()) {
        HideDropIndicator();
        return DROPEFFECT_NONE;
    }
    ShowDropIndicator(point);
    return EffectOfKeys(keyState);
}

void CQuillEditView::OnDragLeave()
{
    HideDropIndicator();
}

bool CQuillEditView::OnDrop(COleDataObject* data, CPoint point)
{
    HideDropIndicator();
    if (!IsEditable() || data == nullptr || !data->HasText())
        return false;
    return DropText(data, point);
}

DROPEFFECT CQuillEditView::OnDragScroll(DWORD keyState, CPoint point)
{
    DragScroll(point);
    return EffectOfKeys(keyState);
}

void CQuillEditView::ShowDropIndicator(CPoint point)
{
    if (!m_dropIndicatorShown) {
        SuppressCaret(true);
        m_savedCaret = CaretPos();
        m_dropIndicatorShown = true;
        CreateGrayCaret(2, LineHeight());
    }
    m_dropPos = PointToText(point);
    if (ColumnOfChar(m_dropPos.line, m_dropPos.character) < FirstColumn()) {
        HideCaret();
        return;
    }
    CWnd::SetCaretPos(TextToPoint(m_dropPos));
    ShowCaret();
}

void CQuillEditView::HideDropIndicator()
{
    if (!m_dropIndicatorShown)
        return;
    m_dropIndicatorShown = false;
    // The text may have changed under the drag; the saved caret is kept inside it.
    SetCaretPos(m_savedCaret);
    SuppressCaret(false);
}

bool CQuillEditView::DragScroll(CPoint point)
{
    CRect client;
    GetClientRect(&client);
    int line = TopLine();
    int column = FirstColumn();
    if (point.y < client.top + DragScrollZone)
        line = std::max(line - 1, 0);
    else if (point.y >= client.bottom - DragScrollZone)
        line = std::min(line + 1, std::max(LineCount() - 1, 0));
    else if (point.x < client.left + MarginWidth() + DragScrollZone)
        column = std::max(column - 1, 0);
    else if (point.x >= client.right - DragScrollZone)
        column = std::min(column + 1, std::max(WidestLineLength() - 1, 0));
    if (line == TopLine() && column == FirstColumn())
        return false;
    HideDropIndicator();
    ScrollToLine(line, ScrollBarTracking::Move);
    ScrollToColumn(column, ScrollBarTracking::Move);
    PlaceCaret();
    UpdateWindow();
    ShowDropIndicator(point);
    return true;
}

bool CQuillEditView::DropText(COleDataObject* data, CPoint point)
{
    const std::optional<std::string> unicodeText = data->GetText();
    if (!unicodeText)
        return false;
    m_dropPos = PointToText(point);
    std::string text;
    if (IsDraggingText()) {
        // Dropped on itself: nothing moves into its own place, and the bytes are taken from the
        // text, which the way through Unicode could change (invalid bytes).
        const TextRange range = DraggedRange();
        if (m_dropPos >= range.start && m_dropPos < range.end) {
            PlaceCaretAt(m_dropPos);
            return false;
        }
        GetText(range.start, range.end, text);
    } else if (!DocumentTextOfUnicode(*unicodeText, text)) {
        return false;
    }
    TextPosition end;
    if (!Buffer()->InsertText(this, m_dropPos.line, m_dropPos.character, text, end.line, end.character,
                              UndoAction::DragAndDrop))
        return false;
    SetCaretPos(end);
    SetSelectionAnchor(m_dropPos);
    SelectRange(m_dropPos, end);
    BringIntoView(end);
    return true;
}
