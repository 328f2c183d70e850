#include "views/quill_text_view.h"

#include "platform/dc.h"
#include "views/margin_images.h"
#include "views/tab_expansion.h"

#include <algorithm>

void CQuillTextView::OnDraw(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    const int lineCount = LineCount();
    const int lineHeight = LineHeight();
    GetSelection(m_drawSelStart, m_drawSelEnd);

    CDC memory;
    memory.CreateCompatibleDC(dc);
    if (!m_lineBitmap.GetSafeHandle())
        m_lineBitmap.CreateCompatibleBitmap(dc, client.Width(), lineHeight);
    CBitmap* previousBitmap = memory.SelectObject(&m_lineBitmap);

    const CRect marginCell(0, 0, MarginWidth(), lineHeight);
    const CRect textBand(MarginWidth(), 0, client.Width(), lineHeight);
    // Bands outside the area being painted keep what they show.
    CRect area = client;
    if (const auto* paint = dynamic_cast<const CPaintDC*>(dc))
        area = paint->m_ps.rcPaint;
    area.IntersectRect(area, client);
    m_drawLeft = area.left;
    m_drawRight = area.right;
    for (int bandTop = client.top, line = m_topLine; bandTop < client.bottom; bandTop += lineHeight, ++line) {
        if (bandTop + lineHeight <= area.top || bandTop >= area.bottom)
            continue;
        const int shownLine = line < lineCount ? line : -1;
        if (area.left < marginCell.right)
            PaintMargin(memory, marginCell, shownLine);
        if (area.right > textBand.left)
            PaintLine(memory, textBand, shownLine);
        dc->BitBlt(area.left, bandTop, area.Width(), lineHeight, &memory, area.left, 0, SRCCOPY);
    }
    m_drawLeft = INT_MIN;
    m_drawRight = INT_MAX;

    memory.SelectObject(previousBitmap);
    memory.DeleteDC();
}

void CQuillTextView::PaintMargin(CDC& dc, const CRect& rect, int line)
{
    if (!m_showMargin) {
        dc.FillSolidRect(rect, SlotColour(ColourSlot::Background));
        return;
    }
    dc.FillSolidRect(rect, SlotColour(ColourSlot::SelMargin));
    if (line == -1)
        return;
    const int image = margin_images::ImageForLineFlags(LineFlags(line));
    if (image < 0)
        return;
    if (!m_marginImages.GetSafeHandle()) {
        margin_images::RegisterStrip();
        m_marginImages.Create(margin_images::StripResourceId, margin_images::ImageSize, 0, margin_images::MaskColour);
    }
    const CPoint origin(rect.left + 2, rect.top + (rect.Height() - margin_images::ImageSize) / 2);
    m_marginImages.Draw(&dc, image, origin, ILD_TRANSPARENT);
}

void CQuillTextView::PaintLine(CDC& dc, const CRect& rect, int line)
{
    if (line == -1) {
        dc.FillSolidRect(rect, SlotColour(ColourSlot::Whitespace));
        return;
    }
    Pen pen{rect.left - m_firstColumn * CharWidth(), rect.top};
    const CRect shown(std::max(rect.left, m_drawLeft), rect.top, std::min(rect.right, m_drawRight), rect.bottom);
    const int length = LineLength(line);
    if (length == 0) {
        PaintLineEnd(dc, shown, line, pen);
        return;
    }
    std::vector<ColourSpan> spans;
    spans.reserve(static_cast<std::size_t>(length) * 3);
    m_parseStates.EnsureExists(LineCount());
    m_parseStates.Set(line, ScanLine(LineEndState(line - 1), line, &spans));

    dc.SetBkColor(SlotColour(ColourSlot::Background));
    PaintRuns(dc, shown, line, spans, pen);
    PaintLineEnd(dc, shown, line, pen);
}

void CQuillTextView::PaintRuns(CDC& dc, const CRect& rect, int line, const std::vector<ColourSpan>& spans, Pen& pen)
{
    const int length = LineLength(line);
    if (spans.empty()) {
        PaintRun(dc, pen, rect, ColourSlot::NormalText, 0, length, line);
        return;
    }
    // Spans from a derived parser are kept inside the line and in order, whatever they say, so no
    // character is painted twice or outside its line.
    int start = std::clamp<int>(spans.front().start, 0, length);
    PaintRun(dc, pen, rect, ColourSlot::NormalText, 0, start, line);
    for (std::size_t index = 0; index < spans.size(); ++index) {
        const int end = index + 1 < spans.size() ? std::clamp<int>(spans[index + 1].start, start, length) : length;
        PaintRun(dc, pen, rect, spans[index].slot, start, end - start, line);
        start = end;
    }
}

void CQuillTextView::PaintLineEnd(CDC& dc, CRect rect, int line, const Pen& pen)
{
    rect.left = std::max(rect.left, pen.x);
    if (rect.IsRectEmpty())
        return;
    // The cell after the last character shows that the line's end is selected.
    if (SelectionShown() && InSelection(TextPosition{LineLength(line), line})) {
        const int cellRight = std::min(rect.right, pen.x + CharWidth());
        if (rect.left < cellRight)
            dc.FillSolidRect(CRect(rect.left, rect.top, cellRight, rect.bottom), SlotColour(ColourSlot::SelBackground));
        rect.left = std::max(rect.left, cellRight);
    }
    if (!rect.IsRectEmpty())
        dc.FillSolidRect(rect, SlotColour(ColourSlot::Whitespace));
}

void CQuillTextView::PaintRun(CDC& dc, Pen& pen, const CRect& rect, ColourSlot slot, int offset, int count, int line)
{
    if (count < 1)
        return;
    dc.SetTextColor(SlotColour(slot));
    dc.SelectObject(ViewFont());
    if (!SelectionShown()) {
        DrawExpandedText(dc, pen, rect, line, offset, count);
        return;
    }
    // The selected part of the run, as indexes relative to its offset.
    const auto relative = [&](TextPosition bound) {
        if (bound.line < line)
            return 0;
        if (bound.line > line)
            return count;
        return std::clamp(bound.character - offset, 0, count);
    };
    const int begin = relative(m_drawSelStart);
    const int end = relative(m_drawSelEnd);
    DrawExpandedText(dc, pen, rect, line, offset, begin);
    if (begin < end) {
        const COLORREF previousBackground = dc.SetBkColor(SlotColour(ColourSlot::SelBackground));
        const COLORREF previousText = dc.SetTextColor(SlotColour(ColourSlot::SelText));
        DrawExpandedText(dc, pen, rect, line, offset + begin, end - begin);
        dc.SetBkColor(previousBackground);
        dc.SetTextColor(previousText);
    }
    DrawExpandedText(dc, pen, rect, line, offset + end, count - end);
}

void CQuillTextView::DrawExpandedText(CDC& dc, Pen& pen, const CRect& rect, int line, int offset, int count)
{
    if (count < 1)
        return;
    if (Encoding() == TextEncoding::Utf8) {
        DrawUtf8Text(dc, pen, rect, line, offset, count);
        return;
    }
    const std::string expanded = ExpandTabs(line, offset, count);
    const int charWidth = CharWidth();
    // Only what can fall inside the band is handed to the text output.
    const int first = std::max(0, (rect.left - pen.x) / charWidth);
    const int last = std::min(static_cast<int>(expanded.size()), (rect.right - pen.x) / charWidth + 1);
    if (pen.x < rect.right && first < last)
        dc.ExtTextOut(pen.x + first * charWidth, pen.y, ETO_CLIPPED, &rect,
                      std::string_view(expanded).substr(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first)));
    pen.x += static_cast<int>(expanded.size()) * charWidth;
}

void CQuillTextView::DrawUtf8Text(CDC& dc, Pen& pen, const CRect& rect, int line, int offset, int count)
{
    const std::string_view text = LineText(line);
    const TextEncoding encoding = TextEncoding::Utf8;
    // A run holds the characters that start in it; one begun before it belongs to the run before.
    int index = tab_expansion::CharacterStartFrom(text, offset, encoding);
    const int end = tab_expansion::CharacterStartFrom(text, std::min(offset + count, static_cast<int>(text.size())), encoding);
    int column = ColumnOfChar(line, index);
    const int charWidth = CharWidth();
    const TextEncoding previousEncoding = dc.SetTextEncoding(encoding);
    // Stretches of valid characters, and each invalid byte on its own in the error colour; what lies
    // outside the band is passed over.
    while (index < end && pen.x < rect.right) {
        const int nextColumn = tab_expansion::ColumnAfterCharacter(text, index, column, m_tabSize, encoding);
        if (pen.x + (nextColumn - column) * charWidth <= rect.left) {
            pen.x += (nextColumn - column) * charWidth;
            column = nextColumn;
            index = utf8::NextCharacter(text, index, encoding);
            continue;
        }
        const bool invalid = !utf8::DecodeAt(text, static_cast<std::size_t>(index)).valid;
        int stretchEnd = index;
        int endColumn = column;
        do {
            endColumn = tab_expansion::ColumnAfterCharacter(text, stretchEnd, endColumn, m_tabSize, encoding);
            stretchEnd = utf8::NextCharacter(text, stretchEnd, encoding);
        } while (!invalid && stretchEnd < end && (endColumn - column) * charWidth <= rect.right - pen.x
                 && utf8::DecodeAt(text, static_cast<std::size_t>(stretchEnd)).valid);
        const std::string expanded = ExpandTabs(line, index, stretchEnd - index);
        const COLORREF previousText = invalid ? dc.SetTextColor(SlotColour(ColourSlot::InvalidCharacter)) : 0;
        dc.ExtTextOut(pen.x, pen.y, ETO_CLIPPED, &rect, expanded);
        if (invalid)
            dc.SetTextColor(previousText);
        pen.x += (endColumn - column) * charWidth;
        column = endColumn;
        index = stretchEnd;
    }
    dc.SetTextEncoding(previousEncoding);
    // What is left right of the band still moves the pen, as the legacy drawing does.
    if (index < end)
        pen.x += (ColumnOfChar(line, end) - column) * charWidth;
}

bool CQuillTextView::InSelection(TextPosition position) const
{
    return !(position < m_drawSelStart) && position < m_drawSelEnd;
}
