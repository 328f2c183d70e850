#include "platform/view.h"

#include "platform/dc.h"
#include "platform/document.h"
#include "platform/window_peer.h"

CView::CView()
{
    MapMessage(WM_INITIALUPDATE, [this](WPARAM, LPARAM) {
        OnInitialUpdate();
        return LRESULT{0};
    });
}

CView::~CView()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

bool CView::CreateView(CWnd* parent, UINT id, CDocument* document)
{
    // Attached first, so the view finds its document while it is being created.
    if (document != nullptr)
        document->AddView(this);
    CRect client;
    parent->GetClientRect(&client);
    platform::WindowCreation creation;
    creation.kind = platform::WindowKind::Painted;
    creation.create.hwndParent = parent->GetSafeHwnd();
    creation.create.id = id;
    creation.create.style = WS_CHILD | WS_VISIBLE;
    creation.create.cx = client.Width();
    creation.create.cy = client.Height();
    if (CreateWindowOfKind(creation))
        return true;
    if (document != nullptr)
        document->RemoveView(this);
    return false;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(EraseBackground::Yes);
}

bool CView::OnCmdMsg(UINT id, int code, CCmdUI* commandUi)
{
    if (CWnd::OnCmdMsg(id, code, commandUi))
        return true;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(id, code, commandUi);
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}
