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
    // Lines that kept their place need only their own lengths measured again.
    if ((hints & UpdateHint::OneLine) == 0)
        m_deferredLinesMoved = true;
    else if (m_deferredChangedLines.empty() || m_deferredChangedLines.back() != line)
        m_deferredChangedLines.push_back(line);
    if (change != nullptr)
        MoveStoredPositions(*change);
}

void CQuillTextView::CatchUpDeferredChanges()
{
    if (m_deferredFirstLine == INT_MAX)
        return;
    const int first = m_deferredFirstLine;
    const std::uint32_t hints = m_deferredHints;
    const std::vector<int> changedLines = std::move(m_deferredChangedLines);
    const bool linesMoved = m_deferredLinesMoved;
    m_deferredFirstLine = INT_MAX;
    m_deferredHints = 0;
    m_deferredChangedLines.clear();
    m_deferredLinesMoved = false;
    m_parseStates.Refit(LineCount(), first);
    if (linesMoved) {
        m_lengths.Refit(LineCount(), first);
    } else {
        for (const int line : changedLines)
            m_lengths.Invalidate(line);
    }
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
