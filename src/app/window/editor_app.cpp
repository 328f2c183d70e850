#include "app/window/editor_app.h"

#include "app/data_directory.h"
#include "app/default_settings.h"
#include "app/output_viewer.h"
#include "app/window/app_resource_ids.h"
#include "app/window/main_frame.h"
#include "app/window/main_frame_resources.h"
#include "app/window/recovery_offer.h"
#include "app/window/startup_command_line.h"
#include "app/window/window_job_callback.h"
#include "buffer/document/recovery_store.h"
#include "documents/html_doc.h"
#include "documents/html_view.h"
#include "documents/latex_doc.h"
#include "documents/latex_view.h"
#include "platform/command_ids.h"
#include "platform/doc_template.h"
#include "platform/message_box.h"
#include "utils/file_utils.h"

#include <memory>

namespace {

constexpr const char* ViewerNotFoundMessage = "viewer application not found";


// The one document type of the run.
std::unique_ptr<CSingleDocTemplate> TemplateFor(DocumentKind kind)
{
    if (kind == DocumentKind::Html)
        return std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, RuntimeClassOf<CHtmlDoc, CDocument>(),
                                                    RuntimeClassOf<CMainFrame, CFrameWnd>(),
                                                    RuntimeClassOf<CHtmlView, CView>());
    return std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, RuntimeClassOf<CLatexDoc, CDocument>(),
                                                RuntimeClassOf<CMainFrame, CFrameWnd>(),
                                                RuntimeClassOf<CLatexView, CView>());
}

} // namespace

constexpr const char* AboutText = "Quillwright " QUILLWRIGHT_VERSION "\n\n"
                                  "An editor for LaTeX sources and HTML pages that makes PostScript, PDF and HTML "
                                  "output on a torvel-server processing server.";

CEditorApp::CEditorApp(std::string commandLine) : m_commandLine(std::move(commandLine))
{
    MapCommand(ID_HELP_CONTENTS, &CEditorApp::OnHelpContents);
    MapCommand(ID_APP_ABOUT, &CEditorApp::OnAppAbout);
}

std::string CEditorApp::HelpContentsPath()
{
    return app::DataDirectory() + "/help/index.html";
}

void CEditorApp::OnHelpContents()
{
    const std::string path = HelpContentsPath();
    // A data directory without help shows nothing, like a missing help system.
    if (utils::FileExists(path))
        OpenViewer("html", path);
}

void CEditorApp::OnAppAbout()
{
    AfxMessageBox(AboutText, MB_OK | MB_ICONINFORMATION);
}

bool CEditorApp::InitInstance()
{
    SetRegistryKey("TVL");
    LoadStdProfileSettings(4);

    const std::string fileName = UnquotedCommandLine(m_commandLine);
    RegisterMainFrameResources();
    m_pDocTemplate = AddDocTemplate(TemplateFor(ChooseDocumentKind(fileName)));

    CCommandLineInfo commandLine;
    commandLine.m_nShellCommand = fileName.empty() ? CCommandLineInfo::FileNew : CCommandLineInfo::FileOpen;
    commandLine.m_strFileName = fileName;
    if (!ProcessShellCommand(commandLine))
        return false;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    auto* document = dynamic_cast<CQuillEditDoc*>(m_pDocTemplate->GetDocument());
    if (RecoveryStore* store = RecoveryStore::Active(); store != nullptr && document != nullptr)
        OfferRecoveryCopies(*store, *document);
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

bool CEditorApp::SaveAllDocuments()
{
    if (m_pDocTemplate == nullptr)
        return true;
    for (CDocument* document : m_pDocTemplate->GetDocuments()) {
        if (!document->DoFileSave())
            return false;
    }
    return true;
}

std::unique_ptr<OutputJobCallback> CEditorApp::CreateJobCallback(HWND notificationWindow)
{
    WindowJobCallback::Settings settings;
    settings.dataDirectory = app::DataDirectory();
    settings.postScriptViewer = GetProfileString(app::settingsGroup, "psviewer");
    settings.serverAddress = GetProfileString(app::settingsGroup, "address", app::defaultServerAddress);
    settings.htmlOptions = GetProfileString(app::settingsGroup, "cmdline", app::defaultHtmlOptions);
    settings.resultSizeLimit = GetProfileString(app::settingsGroup, "maxresultsize");
    settings.phaseTimeLimit = GetProfileString(app::settingsGroup, "phasetimelimit");
    const HWND frame = m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr;
    if (CMainFrame* mainFrame = MainFrame())
        mainFrame->ClearProblems();
    return std::make_unique<WindowJobCallback>(std::move(settings), frame, notificationWindow);
}

void CEditorApp::OpenViewer(const std::string& kind, const std::string& file)
{
    const std::string settingName = app::ViewerSettingName(kind);
    const std::string setting = settingName.empty() ? std::string() : GetProfileString(app::settingsGroup, settingName);
    const std::string viewer = app::ChooseViewer(kind, setting);
    if (viewer.empty()) {
        AfxMessageBox(ViewerNotFoundMessage, MB_OK | MB_ICONERROR);
        return;
    }
    app::StartViewer(viewer, file);
}
