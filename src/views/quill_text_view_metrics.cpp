#include "views/quill_text_view.h"

#include "platform/dc.h"
#include "views/tab_expansion.h"

#include <algorithm>
#include <cstdint>

CFont* CQuillTextView::ViewFont()
{
    if (m_viewFont.GetSafeHandle() != nullptr)
        return &m_viewFont;
    LOGFONT description = m_logFont;
    description.lfWeight = FW_NORMAL;
    description.lfItalic = 0;
    if (m_viewFont.CreateFontIndirect(&description))
        return &m_viewFont;
    // Nothing is stored, so the next call tries again.
    return GetFont();
}

void CQuillTextView::MeasureCharCell()
{
    CClientDC dc(this);
    CFont* previous = dc.SelectObject(ViewFont());
    const CSize extent = dc.GetTextExtent("X");
    m_lineHeight = std::max(extent.cy, 1);
    // A zero width would divide by zero in the column arithmetic.
    m_charWidth = std::max(extent.cx, 1);
    dc.SelectObject(previous);
}

int CQuillTextView::LineHeight()
{
    if (m_lineHeight == -1)
        MeasureCharCell();
    return m_lineHeight;
}

int CQuillTextView::CharWidth()
{
    if (m_charWidth == -1)
        MeasureCharCell();
    return m_charWidth;
}

void CQuillTextView::ApplyFont(const LOGFONT& description)
{
    m_logFont = description;
    ForgetVisibleCounts();
    m_charWidth = -1;
    m_lineHeight = -1;
    ForgetLineBitmap();
    m_viewFont.DeleteObject();
    if (GetSafeHwnd() == nullptr)
        return;
    UpdateVerticalScrollBar(ScrollBarUpdate::Everything);
    UpdateHorizontalScrollBar(ScrollBarUpdate::Everything);
    PlaceCaret();
    Invalidate(EraseBackground::Yes);
}

std::string CQuillTextView::ExpandTabs(int line, int offset, int count)
{
    return tab_expansion::ExpandTabs(LineText(line), offset, count, m_tabSize, Encoding());
}

int CQuillTextView::ColumnOfChar(int line, int index)
{
    return tab_expansion::ColumnOfIndex(LineText(line), index, m_tabSize, Encoding());
}

int CQuillTextView::CharAtColumn(int line, int column)
{
    return tab_expansion::IndexAtColumn(LineText(line), column, m_tabSize, Encoding());
}

int CQuillTextView::ExpandedLineLength(int line)
{
    m_lengths.EnsureExists(LineCount());
    if (const auto known = m_lengths.Get(line); known != LineValueCache::NotComputed)
        return static_cast<int>(known);
    const int length = ColumnOfChar(line, LineLength(line));
    m_lengths.Set(line, static_cast<std::uint32_t>(length));
    return length;
}

int CQuillTextView::WidestLineLength()
{
    if (m_widestLineLength != -1)
        return m_widestLineLength;
    int widest = 0;
    const int tabSize = TabSize();
    const bool tabsPossible = m_buffer != nullptr && m_buffer->MayHoldTabs();
    for (int line = 0, count = LineCount(); line < count; ++line) {
        // Only a tab takes more than one column per byte (a wide character has three bytes or
        // more), and no more than a tab stop: a line no longer than the widest so far needs
        // measuring only when it has one and could be wider with it.
        const int length = LineLength(line);
        if (length <= widest
            && (!tabsPossible || std::int64_t{length} * tabSize <= widest
                || LineText(line).find('\t') == std::string_view::npos))
            continue;
        widest = std::max(widest, ExpandedLineLength(line));
    }
    m_widestLineLength = widest;
    return widest;
}

int CQuillTextView::VisibleLineCount()
{
    if (m_visibleLineCount == -1) {
        CRect client;
        GetClientRect(&client);
        m_visibleLineCount = client.Height() / LineHeight();
    }
    return m_visibleLineCount;
}

int CQuillTextView::VisibleColumnCount()
{
    if (m_visibleColumnCount == -1) {
        CRect client;
        GetClientRect(&client);
        m_visibleColumnCount = (client.Width() - MarginWidth()) / CharWidth();
    }
    return m_visibleColumnCount;
}

void CQuillTextView::ForgetVisibleCounts()
{
    m_visibleLineCount = -1;
    m_visibleColumnCount = -1;
}
