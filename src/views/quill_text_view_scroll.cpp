#include "views/quill_text_view.h"

#include <algorithm>

namespace {

constexpr int WheelLinesPerNotch = 5;

SCROLLINFO ScrollBarValues(int lastValue, int page, int position)
{
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = lastValue;
    info.nPage = static_cast<UINT>(std::max(page, 0));
    info.nPos = position;
    return info;
}

// The new first line or column asked for by a scroll bar request, or `current` for a request that
// does not scroll.
int ScrollTarget(UINT code, int current, int page, int trackPosition, int bottom)
{
    switch (code) {
    case SB_LINEUP:
        return current - 1;
    case SB_LINEDOWN:
        return current + 1;
    case SB_PAGEUP:
        return current - page + 1;
    case SB_PAGEDOWN:
        return current + page - 1;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        return trackPosition;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return bottom;
    default:
        return current;
    }
}

} // namespace

int CQuillTextView::LimitedTopLine(int line) const
{
    return std::clamp(line, 0, std::max(LineCount() - 1, 0));
}

int CQuillTextView::LimitedFirstColumn(int column)
{
    return std::clamp(column, 0, std::max(WidestLineLength() - 1, 0));
}

void CQuillTextView::ScrollToLine(int line, ScrollBarTracking tracking)
{
    if (line == m_topLine)
        return;
    const int distance = (m_topLine - line) * LineHeight();
    m_topLine = line;
    if (GetSafeHwnd() == nullptr)
        return;
    ScrollWindow(0, distance);
    UpdateWindow();
    if (tracking == ScrollBarTracking::Move)
        UpdateVerticalScrollBar(ScrollBarUpdate::PositionOnly);
    // The window system does not move the caret with the scrolled pixels.
    PlaceCaret();
}

void CQuillTextView::ScrollToColumn(int column, ScrollBarTracking tracking)
{
    if (column == m_firstColumn)
        return;
    const int distance = (m_firstColumn - column) * CharWidth();
    m_firstColumn = column;
    if (GetSafeHwnd() == nullptr)
        return;
    // The margin stays where it is.
    CRect textArea;
    GetClientRect(&textArea);
    textArea.left += MarginWidth();
    ScrollWindow(distance, 0, &textArea, &textArea);
    UpdateWindow();
    if (tracking == ScrollBarTracking::Move)
        UpdateHorizontalScrollBar(ScrollBarUpdate::PositionOnly);
}

void CQuillTextView::UpdateVerticalScrollBar(ScrollBarUpdate update)
{
    if (GetSafeHwnd() == nullptr)
        return;
    if (update == ScrollBarUpdate::PositionOnly) {
        SetScrollPos(SB_VERT, m_topLine);
        return;
    }
    if (VisibleLineCount() >= LineCount() && m_topLine > 0) {
        m_topLine = 0;
        Invalidate(EraseBackground::Yes);
        PlaceCaret();
    }
    const SCROLLINFO info = ScrollBarValues(LineCount() - 1, VisibleLineCount(), m_topLine);
    SetScrollInfo(SB_VERT, &info, Redraw::Yes);
}

void CQuillTextView::UpdateHorizontalScrollBar(ScrollBarUpdate update)
{
    if (GetSafeHwnd() == nullptr)
        return;
    if (update == ScrollBarUpdate::PositionOnly) {
        SetScrollPos(SB_HORZ, m_firstColumn);
        return;
    }
    if (VisibleColumnCount() >= WidestLineLength() && m_firstColumn > 0) {
        m_firstColumn = 0;
        Invalidate(EraseBackground::Yes);
        PlaceCaret();
    }
    const SCROLLINFO info = ScrollBarValues(WidestLineLength() - 1, VisibleColumnCount(), m_firstColumn);
    SetScrollInfo(SB_HORZ, &info, Redraw::Yes);
}

void CQuillTextView::OnVScroll(UINT code, UINT)
{
    SCROLLINFO info;
    GetScrollInfo(SB_VERT, &info, SIF_ALL);
    const int page = static_cast<int>(info.nPage);
    const int bottom = LineCount() - VisibleLineCount() + 1;
    const int target = ScrollTarget(code, m_topLine, page, info.nTrackPos, bottom);
    ScrollToLine(LimitedTopLine(target), ScrollBarTracking::Move);
}

void CQuillTextView::OnHScroll(UINT code, UINT)
{
    SCROLLINFO info;
    GetScrollInfo(SB_HORZ, &info, SIF_ALL);
    const int page = static_cast<int>(info.nPage);
    const int right = WidestLineLength() - VisibleColumnCount() + 1;
    const int target = ScrollTarget(code, m_firstColumn, page, info.nTrackPos, right);
    ScrollToColumn(LimitedFirstColumn(target), ScrollBarTracking::Move);
    PlaceCaret();
}

bool CQuillTextView::OnMouseWheel(UINT, short delta, CPoint)
{
    const int notches = delta / WHEEL_DELTA;
    ScrollToLine(LimitedTopLine(m_topLine - WheelLinesPerNotch * notches), ScrollBarTracking::Move);
    return true;
}

void CQuillTextView::BringIntoView(TextPosition position)
{
    const int visibleLines = VisibleLineCount();
    int newTop = m_topLine;
    if (position.line >= m_topLine + visibleLines)
        newTop = position.line - visibleLines + 1;
    newTop = LimitedTopLine(std::min(position.line, newTop));
    if (newTop != m_topLine)
        ScrollToLine(newTop, ScrollBarTracking::Move);

    const int column = ColumnOfChar(position.line, position.character);
    const int visibleColumns = VisibleColumnCount();
    int newFirst = m_firstColumn;
    if (column > m_firstColumn + visibleColumns)
        newFirst = column - visibleColumns;
    newFirst = std::min(column, newFirst);
    if (newFirst >= WidestLineLength())
        newFirst = WidestLineLength() - 1;
    newFirst = std::max(newFirst, 0);
    if (newFirst == m_firstColumn)
        return;
    ScrollToColumn(newFirst, ScrollBarTracking::Move);
    PlaceCaret();
}

void CQuillTextView::ScrollLineUp()
{
    if (m_topLine > 0)
        ScrollToLine(m_topLine - 1, ScrollBarTracking::Move);
}

void CQuillTextView::ScrollLineDown()
{
    if (m_topLine < LineCount() - 1)
        ScrollToLine(m_topLine + 1, ScrollBarTracking::Move);
}
