#include "views/quill_text_view.h"

#include "buffer/update_hint.h"

#include <algorithm>
#include <climits>

CQuillTextView::DeferredUpdates::DeferredUpdates(CQuillTextView& view) : m_view(view)
{
    ++m_view.m_updatesDeferred;
}

CQuillTextView::DeferredUpdates::~DeferredUpdates()
{
    if (--m_view.m_updatesDeferred == 0)
        m_view.CatchUpDeferredChanges();
}

void CQuillTextView::NoteDeferredChange(const TextChange* change, std::uint32_t hints, std::int32_t line)
{
    m_deferredFirstLine = std::min(m_deferredFirstLine, line == -1 ? 0 : line);
    m_deferredHints |= hints;
    if (change != nullptr)
        MoveStoredPositions(*change);
}

void CQuillTextView::CatchUpDeferredChanges()
{
    if (m_deferredFirstLine == INT_MAX)
        return;
    const int first = m_deferredFirstLine;
    const std::uint32_t hints = m_deferredHints;
    m_deferredFirstLine = INT_MAX;
    m_deferredHints = 0;
    m_parseStates.Refit(LineCount(), first);
    m_lengths.Refit(LineCount(), first);
    InvalidateFromLine(first);
    if (GetSafeHwnd() != nullptr)
        PlaceCaret();
    if ((hints & UpdateHint::LineCountChanged) != 0)
        UpdateVerticalScrollBar(ScrollBarUpdate::Everything);
    if ((hints & UpdateHint::LineWidthChanged) != 0) {
        m_widestLineLength = -1;
        UpdateHorizontalScrollBar(ScrollBarUpdate::Everything);
    }
}
