#pragma once

#include "platform/drag_drop.h"

class CQuillEditView;

// The drop target of an editable view: hands every request of a drag over the view to the view.
class EditDropTarget : public COleDropTarget {
public:
    explicit EditDropTarget(CQuillEditView& view) : m_view(view) {}

    DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point) override;
    void OnDragLeave(CWnd* window) override;
    bool OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point) override;
    DROPEFFECT OnDragScroll(CWnd* window, DWORD keyState, CPoint point) override;

private:
    CQuillEditView& m_view;
};
