#pragma once

#include "platform/accelerators.h"
#include "views/quill_edit_view.h"

// The view of an HTML page: HTML colouring in its own font, a guide after text column 75, its own
// key table, and View HTML Output, which opens the page itself.
class CHtmlView : public CQuillEditView {
public:
    // The view's key table, consulted after the editor's.
    static constexpr UINT KeyTableId = 131;

    CHtmlView();

    void OnInitialUpdate() override;
    void PaintLine(CDC& dc, const CRect& rect, int line) override;
    std::uint32_t ScanLine(std::uint32_t state, int line, std::vector<ColourSpan>* spans) override;
    CQuillTextBuffer* FindBuffer() override;
    bool PreTranslateMessage(MSG* message) override;

protected:
    int OnCreate(CREATESTRUCT* create) override;
    void OnDestroy() override;
    void OnSetFocus(CWnd* oldWindow) override;
    // No context menu.
    void OnContextMenu(CWnd* window, CPoint point) override;

private:
    void OnViewHtmlOutput();

    LOGFONT m_logFont;
    HACCEL m_hAccelTable = nullptr;
};
