#pragma once

#include "docsystem/output_mode.h"
#include "platform/accelerators.h"
#include "views/quill_edit_view.h"

class CLatexDoc;

// The view of a LaTeX document: LaTeX colouring, a guide after text column 75, its own key table,
// and the commands that make output with a documentation job and open it in viewers.
class CLatexView : public CQuillEditView {
public:
    // The view's key table, consulted after the editor's.
    static constexpr UINT KeyTableId = 130;

    CLatexView();

    void PaintLine(CDC& dc, const CRect& rect, int line) override;
    std::uint32_t ScanLine(std::uint32_t state, int line, std::vector<ColourSpan>* spans) override;
    CQuillTextBuffer* FindBuffer() override;
    bool PreTranslateMessage(MSG* message) override;

    CLatexDoc* LatexDocument() const;

protected:
    int OnCreate(CREATESTRUCT* create) override;
    void OnDestroy() override;
    void OnSetFocus(CWnd* oldWindow) override;
    // No context menu.
    void OnContextMenu(CWnd* window, CPoint point) override;

private:
    void StartOutput(OutputMode mode);
    // Passes `command` on to the view of the master document: the LaTeX view whose text holds
    // "\begin{document}".
    void OutputMasterDocument(UINT command);
    void OnUpdateOutputCommand(CCmdUI* commandUi);
    // WM_USER+10: the job of this view has ended.
    LRESULT OnDocFinished(WPARAM, LPARAM);

    // The output file of the kind ("ps" or "pdf", also its extension) beside the document.
    void ViewOutputFile(const char* kind);
    void OnViewHtmlOutput();
    // No job runs and every document could be saved.
    bool ReadyToViewOutput();

    HACCEL m_hAccelTable = nullptr;
};
