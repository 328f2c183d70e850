#include "views/quill_text_view.h"

#include "platform/clipboard.h"
#include "platform/cursor.h"
#include "platform/drag_drop.h"
#include "platform/messages.h"
#include "platform/system_services.h"
#include "views/line_matcher.h"
#include "views/margin_cursor.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr UINT_PTR SelectTimerId = 1001;
constexpr UINT SelectTimerMilliseconds = 100;
// While the pointer is farther than a line above or below the window, the selection scrolls faster.
constexpr int SlowScrollLines = 1;
constexpr int FastScrollLines = 3;
// A press inside the selection becomes a drag once the pointer is this far away, so that the
// jitter of a click does not drag.
constexpr int DragStartDistance = 4;

}  // namespace

void CQuillTextView::ForgetMouseState()
{
    EndMouseSelection();
    m_dragPending = false;
    m_draggingText = false;
    m_draggedRange = {};
}

bool CQuillTextView::SelectionContains(TextPosition position) const
{
    TextPosition start;
    TextPosition end;
    GetSelection(start, end);
    return start <= position && position < end;
}

std::string CQuillTextView::SelectedText() const
{
    TextPosition start;
    TextPosition end;
    GetSelection(start, end);
    std::string text;
    GetText(start, end, text);
    return text;
}

CPoint CQuillTextView::SnapPoint(CPoint point)
{
    // Half a cell to the right: a click chooses the nearest boundary between characters.
    point.x += CharWidth() / 2;
    return point;
}

TextPosition CQuillTextView::WordEndAfter(TextPosition position) const
{
    const std::string_view line = LineText(position.line);
    while (static_cast<std::size_t>(position.character) < line.size()
           && IsWordByte(static_cast<unsigned char>(line[static_cast<std::size_t>(position.character)])))
        ++position.character;
    return position;
}

TextPosition CQuillTextView::WordStartBefore(TextPosition position) const
{
    const std::string_view line = LineText(position.line);
    while (position.character > 0 && IsWordByte(static_cast<unsigned char>(line[static_cast<std::size_t>(position.character) - 1])))
        --position.character;
    return position;
}

TextPosition CQuillTextView::PositionAfterLine(int line) const
{
    if (line + 1 < LineCount())
        return {0, line + 1};
    return {LineLength(line), line};
}

void CQuillTextView::MoveCaretKeepingAnchor(TextPosition position)
{
    const TextPosition anchor = AnchorPos();
    SetCaretPos(position);
    SetSelectionAnchor(anchor);
}

std::pair<TextPosition, TextPosition> CQuillTextView::WordSpan(TextPosition anchor, TextPosition position) const
{
    if (position >= anchor)
        return {WordStartBefore(anchor), WordEndAfter(position)};
    return {WordStartBefore(position), WordEndAfter(anchor)};
}

std::pair<TextPosition, TextPosition> CQuillTextView::LineSpan(int anchorLine, int pointerLine, TextPosition& caret) const
{
    if (pointerLine >= anchorLine) {
        caret = PositionAfterLine(pointerLine);
        return {caret, {0, anchorLine}};
    }
    caret = {0, pointerLine};
    return {caret, PositionAfterLine(anchorLine)};
}

void CQuillTextView::StartMouseSelection(MouseSelectionMode mode)
{
    SetCapture();
    m_selectTimer = SetTimer(SelectTimerId, SelectTimerMilliseconds);
    m_mouseSelecting = true;
    m_lineSelectMode = mode == MouseSelectionMode::Lines;
    m_wordSelectMode = mode == MouseSelectionMode::Words;
}

void CQuillTextView::EndMouseSelection()
{
    if (!m_mouseSelecting)
        return;
    m_mouseSelecting = false;
    m_lineSelectMode = false;
    m_wordSelectMode = false;
    if (GetCapture() == this)
        ReleaseCapture();
    if (m_selectTimer != 0 && GetSafeHwnd() != nullptr)
        KillTimer(m_selectTimer);
    m_selectTimer = 0;
}

void CQuillTextView::ShowSelection(TextPosition start, TextPosition end)
{
    BringIntoView(CaretPos());
    PlaceCaret();
    SelectRange(start, end);
}

void CQuillTextView::OnLButtonDown(UINT flags, CPoint point)
{
    CView::OnLButtonDown(flags, point);
    const bool shift = (flags & MK_SHIFT) != 0;
    const bool control = (flags & MK_CONTROL) != 0;
    if (point.x < MarginWidth()) {
        if (control) {
            SelectAll();
            return;
        }
        const TextPosition caret{0, PointToText(SnapPoint(point)).line};
        if (shift)
            MoveCaretKeepingAnchor(caret);
        else
            SetCaretPos(caret);
        ShowSelection(PositionAfterLine(AnchorPos().line), caret);
        StartMouseSelection(MouseSelectionMode::Lines);
        return;
    }
    if (SelectionContains(PointToText(point))) {
        m_dragPending = true;
        m_dragPendingPoint = point;
        return;
    }
    const TextPosition position = PointToText(SnapPoint(point));
    if (shift)
        MoveCaretKeepingAnchor(position);
    else
        SetCaretPos(position);
    TextPosition start = AnchorPos();
    TextPosition end = CaretPos();
    if (control) {
        std::tie(start, end) = WordSpan(AnchorPos(), CaretPos());
        MoveCaretKeepingAnchor(end);
    }
    ShowSelection(start, end);
    StartMouseSelection(control ? MouseSelectionMode::Words : MouseSelectionMode::Characters);
}

void CQuillTextView::OnMouseMove(UINT flags, CPoint point)
{
    CView::OnMouseMove(flags, point);
    if (m_mouseSelecting) {
        ExtendMouseSelection(point);
        return;
    }
    const bool farEnough = std::abs(point.x - m_dragPendingPoint.x) > DragStartDistance
                           || std::abs(point.y - m_dragPendingPoint.y) > DragStartDistance;
    if (m_dragPending && farEnough) {
        m_dragPending = false;
        DragSelection();
    }
}

void CQuillTextView::ExtendMouseSelection(CPoint point)
{
    const bool inMargin = point.x < MarginWidth();
    const TextPosition position = PointToText(SnapPoint(point));
    if (m_lineSelectMode && inMargin) {
        TextPosition caret;
        const auto [start, end] = LineSpan(AnchorPos().line, position.line, caret);
        MoveCaretKeepingAnchor({0, position.line});
        PlaceCaret();
        SelectRange(start, end);
        return;
    }
    if (m_lineSelectMode) {
        // Out of the margin the selection goes on character by character.
        SetCursor(LoadStandardCursor(IDC_IBEAM));
        m_lineSelectMode = false;
        m_wordSelectMode = false;
    }
    if (m_wordSelectMode) {
        const auto [start, end] = WordSpan(AnchorPos(), position);
        MoveCaretKeepingAnchor(end);
        PlaceCaret();
        SelectRange(start, end);
        return;
    }
    MoveCaretKeepingAnchor(position);
    PlaceCaret();
    SelectRange(AnchorPos(), position);
}

void CQuillTextView::OnLButtonUp(UINT flags, CPoint point)
{
    CView::OnLButtonUp(flags, point);
    if (m_mouseSelecting) {
        FinishMouseSelection(point);
        return;
    }
    if (m_dragPending) {
        // A click inside the selection without a movement: no drag, the caret goes there.
        m_dragPending = false;
        MoveCaretKeepingAnchor(PointToText(SnapPoint(point)));
        ShowSelection(CaretPos(), CaretPos());
    }
}

void CQuillTextView::FinishMouseSelection(CPoint point)
{
    const TextPosition position = PointToText(SnapPoint(point));
    TextPosition start = AnchorPos();
    TextPosition end = CaretPos();
    if (m_lineSelectMode) {
        TextPosition caret;
        std::tie(start, end) = LineSpan(AnchorPos().line, position.line, caret);
        MoveCaretKeepingAnchor(caret);
    } else if (m_wordSelectMode) {
        std::tie(start, end) = WordSpan(AnchorPos(), position);
        MoveCaretKeepingAnchor(end);
    }
    ShowSelection(start, end);
    EndMouseSelection();
    OfferPrimarySelection();
}

void CQuillTextView::OnLButtonDblClk(UINT flags, CPoint point)
{
    CView::OnLButtonDblClk(flags, point);
    if (m_mouseSelecting)
        return;
    SetCaretPos(PointToText(SnapPoint(point)));
    const TextPosition start = WordStartBefore(CaretPos());
    const TextPosition end = WordEndAfter(CaretPos());
    MoveCaretKeepingAnchor(end);
    ShowSelection(start, end);
    StartMouseSelection(MouseSelectionMode::Words);
}

void CQuillTextView::OnRButtonDown(UINT flags, CPoint point)
{
    const TextPosition position = PointToText(SnapPoint(point));
    if (!SelectionContains(position)) {
        SetCaretPos(position);
        ShowSelection(position, position);
    }
    CView::OnRButtonDown(flags, point);
}

void CQuillTextView::OnTimer(UINT_PTR id)
{
    if (id != SelectTimerId) {
        CView::OnTimer(id);
        return;
    }
    if (m_mouseSelecting)
        ScrollTowardsPointer();
}

void CQuillTextView::ScrollTowardsPointer()
{
    CPoint pointer;
    GetCursorPos(&pointer);
    ScreenToClient(&pointer);
    CRect client;
    GetClientRect(&client);

    int top = TopLine();
    if (pointer.y < client.top)
        top -= pointer.y < client.top - LineHeight() ? FastScrollLines : SlowScrollLines;
    else if (pointer.y >= client.bottom)
        top += pointer.y >= client.bottom + LineHeight() ? FastScrollLines : SlowScrollLines;
    top = std::clamp(top, 0, std::max(LineCount() - 1, 0));
    bool scrolled = false;
    if (top != TopLine()) {
        ScrollToLine(top, ScrollBarTracking::Move);
        scrolled = true;
    }

    int column = FirstColumn();
    if (pointer.x < client.left)
        --column;
    else if (pointer.x >= client.right)
        ++column;
    column = std::clamp(column, 0, std::max(WidestLineLength() - 1, 0));
    if (column != FirstColumn()) {
        ScrollToColumn(column, ScrollBarTracking::Move);
        PlaceCaret();
        scrolled = true;
    }
    if (!scrolled)
        return;
    const TextPosition position = PointToText(SnapPoint(pointer));
    if (position != CaretPos()) {
        MoveCaretKeepingAnchor(position);
        PlaceCaret();
    }
    SelectRange(AnchorPos(), CaretPos());
}

bool CQuillTextView::OnSetCursor(CWnd* window, UINT hitTest, UINT message)
{
    if (hitTest != HTCLIENT)
        return CView::OnSetCursor(window, hitTest, message);
    CPoint pointer;
    GetCursorPos(&pointer);
    ScreenToClient(&pointer);
    if (pointer.x < MarginWidth()) {
        margin_cursor::Register();
        SetCursor(LoadCursor(margin_cursor::ResourceId));
    } else {
        SetCursor(LoadStandardCursor(SelectionContains(PointToText(pointer)) ? IDC_ARROW : IDC_IBEAM));
    }
    return true;
}

std::optional<std::string> CQuillTextView::MakeDragData()
{
    if (!HasSelection())
        return std::nullopt;
    GetSelection(m_draggedRange.start, m_draggedRange.end);
    std::string text;
    GetText(m_draggedRange.start, m_draggedRange.end, text);
    return text;
}

DROPEFFECT CQuillTextView::DragSourceEffects() const
{
    return DROPEFFECT_COPY;
}

void CQuillTextView::OnDragSourceDone(DROPEFFECT)
{
}

void CQuillTextView::DragSelection()
{
    const std::optional<std::string> text = MakeDragData();
    if (!text)
        return;
    // A move within the view (the drop, then the removal of the source) is one undo step.
    if (m_buffer != nullptr)
        m_buffer->OpenUndoGroup(UndoGroupMerge::NewGroup);
    COleDataSource source;
    source.CacheText(ExchangeTextOf(*text));
    m_draggingText = true;
    const DROPEFFECT effect = source.DoDragDrop(this, DragSourceEffects());
    if (effect != DROPEFFECT_NONE)
        OnDragSourceDone(effect);
    m_draggingText = false;
    if (m_buffer != nullptr)
        m_buffer->CloseUndoGroup(this);
}

void CQuillTextView::OfferPrimarySelection()
{
    if (HasSelection())
        platform::clipboard::SetPrimarySelection(ExchangeTextOf(SelectedText()));
}
