#include "platform/frame_wnd.h"

#include "platform/backend.h"
#include "platform/cmd_ui.h"
#include "platform/command_ids.h"
#include "platform/control_bars.h"
#include "platform/document.h"
#include "platform/frame_peer.h"
#include "platform/framework_strings.h"
#include "platform/resources.h"
#include "platform/system_services.h"
#include "platform/view.h"
#include "platform/virtual_keys.h"
#include "platform/win_app.h"

namespace {

// A menu entry's state: applied to the frame's live menu, which the backend shows.
class MenuItemCmdUI : public CCmdUI {
public:
    void Enable(bool on) override
    {
        CCmdUI::Enable(on);
        Item().enabled = on;
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        Item().checked = check != 0;
    }
    void SetText(const std::string& text) override
    {
        CCmdUI::SetText(text);
        Item().text = text;
    }

private:
    platform::MenuItem& Item() { return (*m_pMenu)[m_nIndex]; }
};

constexpr int DefaultFrameWidth = 900;
constexpr int DefaultFrameHeight = 700;

}  // namespace

CFrameWnd::CFrameWnd()
{
    MapMessage(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString);
    MapCommand(ID_VIEW_TOOLBAR, &CFrameWnd::OnViewToolbar);
    MapCommand(ID_VIEW_STATUS_BAR, &CFrameWnd::OnViewStatusBar);
    MapUpdateCommandUI(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateViewToolbar);
    MapUpdateCommandUI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateViewStatusBar);
    MapUpdateCommandUI(ID_INDICATOR_CAPS, &CFrameWnd::OnUpdateKeyIndicator);
    MapUpdateCommandUI(ID_INDICATOR_NUM, &CFrameWnd::OnUpdateKeyIndicator);
}

CFrameWnd::~CFrameWnd()
{
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
}

bool CFrameWnd::LoadFrame(UINT resourceId, CCreateContext* context)
{
    if (const platform::Menu* menu = platform::resources::FindMenu(resourceId))
        m_menu = *menu;
    m_hAccelTable = LoadAccelerators(resourceId);
    const std::string fields = platform::LoadFrameworkString(resourceId);
    m_strTitle = fields.substr(0, fields.find('\n'));
    if (CWinApp* application = AfxGetApp(); m_strTitle.empty() && application != nullptr)
        m_strTitle = application->ApplicationName();

    platform::WindowCreation creation;
    creation.kind = platform::WindowKind::Frame;
    creation.create.id = resourceId;
    creation.create.style = WS_OVERLAPPEDWINDOW;
    creation.create.cx = DefaultFrameWidth;
    creation.create.cy = DefaultFrameHeight;
    m_creationContext = context;
    const bool created = CreateWindowOfKind(creation);
    m_creationContext = nullptr;
    if (!created)
        return false;
    m_framePeer->SetMenu(&m_menu);
    OnUpdateFrameTitle();
    return true;
}

int CFrameWnd::OnCreate(CREATESTRUCT* create)
{
    m_framePeer = static_cast<platform::FramePeer*>(Peer());
    return OnCreateClient(create, m_creationContext) ? 0 : -1;
}

bool CFrameWnd::OnCreateClient(CREATESTRUCT*, CCreateContext* context)
{
    if (context == nullptr || !context->m_pNewViewClass)
        return true;
    m_view = context->m_pNewViewClass();
    if (m_view->CreateView(this, AFX_IDW_PANE_FIRST, context->m_pCurrentDoc))
        return true;
    m_view.reset();
    return false;
}

void CFrameWnd::OnDestroy()
{
    m_pViewActive = nullptr;
    CWnd::OnDestroy();
}

void CFrameWnd::OnClose()
{
    CWinApp* application = AfxGetApp();
    if (application == nullptr || application->m_pMainWnd != this) {
        DestroyWindow();
        return;
    }
    if (!application->SaveAllModified())
        return;
    application->m_pMainWnd = nullptr;
    DestroyWindow();
    platform::Backend::Current().QuitEventLoop(0);
}

void CFrameWnd::OnSetFocus(CWnd*)
{
    if (m_pViewActive != nullptr)
        m_pViewActive->SetFocus();
}

void CFrameWnd::SetActiveView(CView* view)
{
    m_pViewActive = view;
    if (view != nullptr)
        view->SetFocus();
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    CView* view = m_pViewActive != nullptr ? m_pViewActive : m_view.get();
    return view != nullptr ? view->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, Visibility visibility)
{
    if (m_view != nullptr) {
        m_view->SendMessage(WM_INITIALUPDATE);
        SetActiveView(m_view.get());
    }
    if (visibility == Visibility::Show)
        ShowWindow(SW_SHOW);
    OnUpdateFrameTitle();
}

void CFrameWnd::OnUpdateFrameTitle()
{
    const CDocument* document = GetActiveDocument();
    if (document == nullptr || document->GetTitle().empty())
        SetWindowText(m_strTitle);
    else
        SetWindowText(document->GetTitle() + " - " + m_strTitle);
}

void CFrameWnd::SetMessageText(UINT stringId)
{
    SetMessageText(platform::LoadFrameworkString(stringId));
}

void CFrameWnd::SetMessageText(const std::string& text)
{
    if (m_statusBar != nullptr)
        m_statusBar->SetPaneText(0, text);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM stringId, LPARAM text)
{
    if (text != 0)
        SetMessageText(std::string(reinterpret_cast<const char*>(text)));
    else
        SetMessageText(static_cast<UINT>(stringId));
    return 0;
}

void CFrameWnd::OnInitMenuPopup(platform::MenuItem& popup)
{
    for (std::size_t index = 0; index < popup.items.size(); ++index) {
        if (popup.items[index].kind != platform::MenuItem::Kind::Command)
            continue;
        MenuItemCmdUI state;
        state.m_nID = popup.items[index].id;
        state.m_nIndex = static_cast<UINT>(index);
        state.m_pMenu = &popup.items;
        state.DoUpdate(this, CCmdUI::Unhandled::Disable);
        // A handler may have replaced its entry by several (the recent files).
        index = state.m_nIndex;
    }
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    if (m_toolBar != nullptr)
        m_toolBar->UpdateCmdUI(this);
    if (m_statusBar != nullptr)
        m_statusBar->UpdateCmdUI(this);
}

bool CFrameWnd::OnCmdMsg(UINT id, int code, CCmdUI* commandUi)
{
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(id, code, commandUi))
        return true;
    if (CWnd::OnCmdMsg(id, code, commandUi))
        return true;
    CWinApp* application = AfxGetApp();
    return application != nullptr && application->OnCmdMsg(id, code, commandUi);
}

bool CFrameWnd::PreTranslateMessage(MSG* message)
{
    if (message->message < WM_KEYFIRST || message->message > WM_KEYLAST || m_hAccelTable == nullptr)
        return false;
    return TranslateAccelerator(GetSafeHwnd(), m_hAccelTable, message) != 0;
}

void CFrameWnd::OnViewToolbar()
{
    if (m_framePeer != nullptr)
        m_framePeer->ShowToolbar(!m_framePeer->IsToolbarVisible());
}

void CFrameWnd::OnViewStatusBar()
{
    if (m_framePeer != nullptr)
        m_framePeer->ShowStatusBar(!m_framePeer->IsStatusBarVisible());
}

void CFrameWnd::OnUpdateViewToolbar(CCmdUI* commandUi)
{
    commandUi->Enable(m_toolBar != nullptr);
    commandUi->SetCheck(m_framePeer != nullptr && m_toolBar != nullptr && m_framePeer->IsToolbarVisible() ? 1 : 0);
}

void CFrameWnd::OnUpdateViewStatusBar(CCmdUI* commandUi)
{
    commandUi->Enable(m_statusBar != nullptr);
    commandUi->SetCheck(m_framePeer != nullptr && m_statusBar != nullptr && m_framePeer->IsStatusBarVisible() ? 1 : 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* commandUi)
{
    const int key = commandUi->m_nID == ID_INDICATOR_CAPS ? VK_CAPITAL : VK_NUMLOCK;
    commandUi->Enable((GetKeyState(key) & 0x0001) != 0);
}
