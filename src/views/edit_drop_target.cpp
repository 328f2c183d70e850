#include "views/edit_drop_target.h"

#include "views/quill_edit_view.h"

DROPEFFECT EditDropTarget::OnDragEnter(CWnd*, COleDataObject* data, DWORD keyState, CPoint point)
{
    return m_view.OnDragEnter(data, keyState, point);
}

DROPEFFECT EditDropTarget::OnDragOver(CWnd*, COleDataObject* data, DWORD keyState, CPoint point)
{
    return m_view.OnDragOver(data, keyState, point);
}

void EditDropTarget::OnDragLeave(CWnd*)
{
    m_view.OnDragLeave();
}

bool EditDropTarget::OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint point)
{
    return m_view.OnDrop(data, point);
}

DROPEFFECT EditDropTarget::OnDragScroll(CWnd*, DWORD keyState, CPoint point)
{
    return m_view.OnDragScroll(keyState, point);
}
