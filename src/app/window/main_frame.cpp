#include "app/window/main_frame.h"

#include "app/window/app_resource_ids.h"
#include "app/window/editor_app.h"
#include "app/window/running_jobs.h"
#include "app/window/settings_dialog.h"
#include "buffer/document/quill_edit_doc.h"
#include "documents/output_services.h"
#include "platform/cmd_ui.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "views/editor_command_ids.h"
#include "views/quill_edit_view.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace {

constexpr const char* JobRunningQuestion =
    "An output job is still running.\n\n"
    "Yes: close the window when the job has finished.\n"
    "No: close now and abandon the job.\n"
    "Cancel: keep working.";
constexpr UINT IgnoredNotificationMessage = WM_USER + 17;
constexpr UINT_PTR RecoveryTimer = 0x5243;
// Often enough that a copy is due at most a second late.
constexpr UINT RecoveryTimerMilliseconds = 1000;

constexpr std::array<UINT, 6> Indicators = {
    ID_SEPARATOR,        ID_INDICATOR_PROGRESS, ID_INDICATOR_POSITION,
    ID_INDICATOR_OVR,    ID_INDICATOR_CAPS,     ID_INDICATOR_PROBLEMS,
};
constexpr int ProblemCountPane = 5;

bool IsSameFile(const std::string& first, const std::string& second)
{
    std::error_code error;
    return first == second || std::filesystem::equivalent(first, second, error);
}

} // namespace

CMainFrame::CMainFrame()
{
    MapMessage(StatusTextMessage, &CMainFrame::OnStatusText);
    MapMessage(IgnoredNotificationMessage, &CMainFrame::OnIgnoredNotification);
    MapCommand(ID_OPTIONS, [this] { RunSettingsDialog(this); });
    MapMessage(ShowProblemsMessage, &CMainFrame::OnShowProblems);
    MapMessage(WM_LISTPANE_ACTIVATE, &CMainFrame::OnProblemActivated);
    MapCommand(ID_NEXT_PROBLEM, [this] { GoToNeighbourProblem(ProblemsPane::Direction::Next); });
    MapCommand(ID_PREVIOUS_PROBLEM, [this] { GoToNeighbourProblem(ProblemsPane::Direction::Previous); });
    MapUpdateCommandUI(ID_NEXT_PROBLEM, &CMainFrame::OnUpdateProblemCommand);
    MapUpdateCommandUI(ID_PREVIOUS_PROBLEM, &CMainFrame::OnUpdateProblemCommand);
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
    if (!m_problems.Create(this))
        return -1;
    SetTimer(RecoveryTimer, RecoveryTimerMilliseconds);
    return 0;
}

void CMainFrame::OnTimer(UINT_PTR id)
{
    if (id != RecoveryTimer) {
        CFrameWnd::OnTimer(id);
        return;
    }
    if (auto* document = dynamic_cast<CQuillEditDoc*>(GetActiveDocument()))
        document->TickRecovery(RecoveryKeeper::Clock::now());
}

void CMainFrame::OnClose()
{
    if (running_jobs::Count() > 0 && !AgreeToCloseWhileJobRuns())
        return;
    CFrameWnd::OnClose();
}

bool CMainFrame::AgreeToCloseWhileJobRuns()
{
    switch (AfxMessageBox(JobRunningQuestion, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDNO:
        return true;
    case IDYES:
        // The job may have ended while the question was open; then the window closes at once.
        running_jobs::CloseWhenAllEnded(GetSafeHwnd());
        return false;
    default:
        running_jobs::ForgetPendingClose();
        return false;
    }
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

void CMainFrame::ClearProblems()
{
    ShowProblems({});
}

void CMainFrame::ShowProblems(std::vector<LatexProblem> problems)
{
    m_problems.Show(std::move(problems));
    m_wndStatusBar.SetPaneText(ProblemCountPane, m_problems.CountText());
}

LRESULT CMainFrame::OnShowProblems(WPARAM problems, LPARAM)
{
    ShowProblems(*reinterpret_cast<const std::vector<LatexProblem>*>(problems));
    return 0;
}

LRESULT CMainFrame::OnProblemActivated(WPARAM row, LPARAM)
{
    if (static_cast<int>(row) < m_problems.Count())
        GoToProblem(static_cast<int>(row));
    return 0;
}

void CMainFrame::GoToNeighbourProblem(ProblemsPane::Direction direction)
{
    if (const std::optional<int> row = m_problems.Neighbour(direction))
        GoToProblem(*row);
}

void CMainFrame::OnUpdateProblemCommand(CCmdUI* commandUi)
{
    commandUi->Enable(m_problems.Count() > 0);
}

void CMainFrame::GoToProblem(int row)
{
    const LatexProblem problem = m_problems.Problem(row);
    m_problems.MakeCurrent(row);
    if (!ShowFileOf(problem))
        return;
    auto* view = dynamic_cast<CQuillEditView*>(GetActiveView());
    if (view == nullptr)
        return;
    // A problem the log tells no line of still opens its file, with the caret where it was; a line
    // past the end (the file changed since the job) means the last one.
    if (problem.line > 0 && view->LineCount() > 0)
        view->PlaceCaretAt(TextPosition{0, std::min(problem.line, view->LineCount()) - 1});
    view->SetFocus();
}

bool CMainFrame::ShowFileOf(const LatexProblem& problem)
{
    const CDocument* document = GetActiveDocument();
    if (document != nullptr && IsSameFile(document->GetPathName(), problem.path))
        return true;
    return AfxGetApp()->OpenDocumentFile(problem.path) != nullptr;
}
