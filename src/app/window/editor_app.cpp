#include "app/window/editor_app.h"

#include "app/window/app_resource_ids.h"
#include "app/window/main_frame.h"
#include "app/window/main_frame_resources.h"
#include "app/window/startup_command_line.h"
#include "documents/latex_doc.h"
#include "documents/latex_view.h"
#include "platform/command_ids.h"
#include "platform/doc_template.h"
#include "platform/message_box.h"

#include <memory>

namespace {

constexpr const char* HtmlNotAvailableMessage =
    "HTML pages and remote addresses cannot be opened: this build of Quillwright edits LaTeX documents only.";

} // namespace

CEditorApp::CEditorApp(std::string commandLine) : m_commandLine(std::move(commandLine))
{
}

bool CEditorApp::InitInstance()
{
    SetRegistryKey("TVL");
    LoadStdProfileSettings(4);

    const std::string fileName = UnquotedCommandLine(m_commandLine);
    if (ChooseDocumentKind(fileName) == DocumentKind::Html) {
        AfxMessageBox(HtmlNotAvailableMessage, MB_OK | MB_ICONERROR);
        return false;
    }
    RegisterMainFrameResources();
    m_pDocTemplate = AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME, RuntimeClassOf<CLatexDoc, CDocument>(), RuntimeClassOf<CMainFrame, CFrameWnd>(),
        RuntimeClassOf<CLatexView, CView>()));

    CCommandLineInfo commandLine;
    commandLine.m_nShellCommand = fileName.empty() ? CCommandLineInfo::FileNew : CCommandLineInfo::FileOpen;
    commandLine.m_strFileName = fileName;
    if (!ProcessShellCommand(commandLine))
        return false;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return true;
}

CMainFrame* CEditorApp::MainFrame() const
{
    return dynamic_cast<CMainFrame*>(m_pMainWnd);
}

void CEditorApp::SetStatusText(const std::string& text, int pane)
{
    if (text.empty() && pane == 0) {
        ShowIdleMessage();
        return;
    }
    if (CMainFrame* frame = MainFrame())
        frame->StatusBar().SetPaneText(pane, text);
}

void CEditorApp::ShowIdleMessage()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}
