#pragma once

#include "app/window/problems_pane.h"
#include "platform/control_bars.h"
#include "platform/frame_wnd.h"

// The editor's top-level window: menu, a tool bar docked at the top, the Problems pane below the
// view and a status bar whose second pane shows the progress of the documentation job and whose
// last one counts the problems.
class CMainFrame : public CFrameWnd {
public:
    CMainFrame();

    CStatusBar& StatusBar() { return m_wndStatusBar; }
    CToolBar& ToolBar() { return m_wndToolBar; }
    const ProblemsPane& Problems() const { return m_problems; }
    // A new job starts: the problems of the last one no longer hold.
    void ClearProblems();
    void ShowProblems(std::vector<LatexProblem> problems);
    // Opens the problem's file when another one is open (asking to save that first), puts the caret
    // on its line and the focus in the editor.
    void GoToProblem(int row);

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
    LRESULT OnShowProblems(WPARAM problems, LPARAM);
    LRESULT OnProblemActivated(WPARAM row, LPARAM);
    void GoToNeighbourProblem(ProblemsPane::Direction direction);
    void OnUpdateProblemCommand(CCmdUI* commandUi);
    // Whether the problem's file is the active document now, opening it when it is not.
    bool ShowFileOf(const LatexProblem& problem);

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    ProblemsPane m_problems;
};
