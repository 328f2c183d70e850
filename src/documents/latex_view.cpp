#include "documents/latex_view.h"

#include "buffer/document/quill_edit_doc.h"
#include "documents/latex_scanner.h"
#include "platform/command_ids.h"
#include "platform/dc.h"
#include "platform/win_app.h"

void CLatexView::PaintLine(CDC& dc, const CRect& rect, int line)
{
    CQuillTextView::PaintLine(dc, rect, line);
    // One segment in the upper half of every band gives a dashed rule that scrolls with the text.
    // Scrolled past the text area's left edge, the guide is not drawn over the margin.
    const int x = rect.left + (GuideColumn - FirstColumn()) * CharWidth();
    if (x < rect.left || x >= rect.right)
        return;
    dc.FillSolidRect(CRect(x, rect.top, x + 1, rect.top + rect.Height() / 2), GuideColour);
}

std::uint32_t CLatexView::ScanLine(std::uint32_t state, int line, std::vector<ColourSpan>* spans)
{
    return ScanLatexLine(state, LineText(line), spans);
}

CQuillTextBuffer* CLatexView::FindBuffer()
{
    auto* document = dynamic_cast<CQuillEditDoc*>(GetDocument());
    return document == nullptr ? nullptr : &document->Buffer();
}

void CLatexView::OnSetFocus(CWnd* oldWindow)
{
    CQuillTextView::OnSetFocus(oldWindow);
    if (CWnd* mainWindow = AfxGetMainWnd())
        mainWindow->PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

void CLatexView::OnContextMenu(CWnd*, CPoint)
{
}
