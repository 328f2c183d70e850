#include "app/window/main_frame.h"

#include "app/window/app_resource_ids.h"
#include "app/window/editor_app.h"
#include "platform/command_ids.h"
#include "views/editor_command_ids.h"

#include <array>

namespace {

constexpr UINT StatusTextMessage = WM_USER + 5;
constexpr UINT IgnoredNotificationMessage = WM_USER + 17;

constexpr std::array<UINT, 5> Indicators = {
    ID_SEPARATOR, ID_INDICATOR_PROGRESS, ID_INDICATOR_POSITION, ID_INDICATOR_OVR, ID_INDICATOR_CAPS,
};

} // namespace

CMainFrame::CMainFrame()
{
    MapMessage(StatusTextMessage, &CMainFrame::OnStatusText);
    MapMessage(IgnoredNotificationMessage, &CMainFrame::OnIgnoredNotification);
}

int CMainFrame::OnCreate(CREATESTRUCT* create)
{
    if (CFrameWnd::OnCreate(create) == -1)
        return -1;
    const DWORD barStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, barStyle) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this, AFX_IDW_STATUS_BAR)
        || !m_wndStatusBar.SetIndicators(Indicators.data(), static_cast<int>(Indicators.size())))
        return -1;
    return 0;
}

LRESULT CMainFrame::OnStatusText(WPARAM text, LPARAM pane)
{
    const char* characters = reinterpret_cast<const char*>(text);
    if (auto* application = dynamic_cast<CEditorApp*>(AfxGetApp()))
        application->SetStatusText(characters == nullptr ? std::string() : std::string(characters),
                                   static_cast<int>(pane));
    return 0;
}

LRESULT CMainFrame::OnIgnoredNotification(WPARAM, LPARAM)
{
    return 0;
}
