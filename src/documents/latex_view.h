#pragma once

#include "views/quill_text_view.h"

// The view of a LaTeX document: LaTeX colouring and a guide after text column 75.
class CLatexView : public CQuillTextView {
public:
    // The guide is drawn after this many text columns.
    static constexpr int GuideColumn = 75;
    static constexpr COLORREF GuideColour = RGB(192, 192, 192);

    void PaintLine(CDC& dc, const CRect& rect, int line) override;
    std::uint32_t ScanLine(std::uint32_t state, int line, std::vector<ColourSpan>* spans) override;
    CQuillTextBuffer* FindBuffer() override;

protected:
    void OnSetFocus(CWnd* oldWindow) override;
    // No context menu.
    void OnContextMenu(CWnd* window, CPoint point) override;
};
