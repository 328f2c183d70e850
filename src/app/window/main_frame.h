#pragma once

#include "platform/control_bars.h"
#include "platform/frame_wnd.h"

// The editor's top-level window: menu, a tool bar docked at the top and a status bar whose second
// pane shows the progress of the documentation job.
class CMainFrame : public CFrameWnd {
public:
    CMainFrame();

    CStatusBar& StatusBar() { return m_wndStatusBar; }
    CToolBar& ToolBar() { return m_wndToolBar; }

protected:
    // -1 when the tool bar or the status bar cannot be made; the application does not start then.
    int OnCreate(CREATESTRUCT* create) override;
    // While an output job runs, asks first: wait for its end and close then, close now and abandon
    // it, or keep the window.
    void OnClose() override;
    // The recovery timer: the active document writes its recovery copy when one is due.
    void OnTimer(UINT_PTR id) override;

private:
    // Whether the window may close now with a job running; false also when it closes later.
    bool AgreeToCloseWhileJobRuns();
    // WM_USER+5: a zero-terminated text (wParam) for a status bar pane (lParam).
    LRESULT OnStatusText(WPARAM text, LPARAM pane);
    // WM_USER+17: accepted and ignored.
    LRESULT OnIgnoredNotification(WPARAM, LPARAM);

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
};
