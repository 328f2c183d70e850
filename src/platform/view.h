#pragma once

#include "platform/wnd.h"

class CDC;
class CDocument;

// A window that shows a document. It draws through OnDraw and routes commands it does not handle
// to its document.
class CView : public CWnd {
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    // Creates the view window under `parent` and attaches it to `document`.
    bool CreateView(CWnd* parent, UINT id, CDocument* document);

    // Runs after a document is created or opened (WM_INITIALUPDATE); by default OnUpdate.
    virtual void OnInitialUpdate();
    // The document changed; by default the whole view is repainted.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    virtual void OnDraw(CDC* dc) = 0;

    bool OnCmdMsg(UINT id, int code, CCmdUI* commandUi) override;

protected:
    void OnPaint() override;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
