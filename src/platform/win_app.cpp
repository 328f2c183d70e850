#include "platform/win_app.h"

#include "platform/backend.h"
#include "platform/command_ids.h"
#include "platform/doc_template.h"
#include "platform/file_dialog.h"
#include "platform/frame_wnd.h"
#include "platform/framework_strings.h"
#include "platform/message_box.h"
#include "platform/profile_store.h"
#include "platform/cmd_ui.h"
#include "utils/message_box.h"
#include "utils/regular_file.h"

namespace {
CWinApp* theApplication = nullptr;
}

CWinApp::CWinApp(std::string applicationName) : m_applicationName(std::move(applicationName))
{
    if (m_applicationName.empty())
        m_applicationName = platform::LoadFrameworkString(AFX_IDS_APP_TITLE);
    theApplication = this;
    MapCommand(ID_FILE_NEW, &CWinApp::OnFileNew);
    MapCommand(ID_FILE_OPEN, &CWinApp::OnFileOpen);
    MapCommand(ID_APP_EXIT, &CWinApp::OnAppExit);
    MapCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, &CWinApp::OnOpenRecentFile);
    MapUpdateCommandUI(ID_FILE_MRU_FILE1, &CWinApp::OnUpdateRecentFileMenu);
    // Messages of the support library (also from worker threads) become the application's boxes.
    utils::SetMessageBoxHandler([](const std::string& text, unsigned int style) { return AfxMessageBox(text, style); });
}

CWinApp::~CWinApp()
{
    m_templates.clear();
    utils::SetMessageBoxHandler({});
    theApplication = nullptr;
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Run()
{
    platform::Backend::Current().RunEventLoop();
    return ExitInstance();
}

bool CWinApp::OnIdle(long)
{
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
        frame->OnIdleUpdateCmdUI();
    return false;
}

bool CWinApp::PreTranslateMessage(MSG*)
{
    return false;
}

void CWinApp::SetRegistryKey(const std::string& key)
{
    m_registryKey = key;
    m_profile = platform::Backend::Current().OpenProfileStore(m_registryKey, m_applicationName);
}

platform::ProfileStore& CWinApp::Profile()
{
    if (m_profile == nullptr)
        m_profile = platform::Backend::Current().OpenProfileStore(m_registryKey, m_applicationName);
    return *m_profile;
}

void CWinApp::LoadStdProfileSettings(UINT recentFileCount)
{
    m_recentFiles = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, static_cast<int>(recentFileCount));
    m_recentFiles->ReadList(Profile());
}

std::string CWinApp::GetProfileString(const std::string& section, const std::string& entry,
                                      const std::string& defaultValue)
{
    return Profile().ReadString(section, entry).value_or(defaultValue);
}

int CWinApp::GetProfileInt(const std::string& section, const std::string& entry, int defaultValue)
{
    return Profile().ReadInteger(section, entry).value_or(defaultValue);
}

bool CWinApp::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    return Profile().WriteString(section, entry, value);
}

bool CWinApp::WriteProfileInt(const std::string& section, const std::string& entry, int value)
{
    return Profile().WriteInteger(section, entry, value);
}

CSingleDocTemplate* CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate)
{
    m_templates.push_back(std::move(docTemplate));
    return m_templates.back().get();
}

CDocument* CWinApp::OpenDocumentFile(const std::string& path)
{
    return m_templates.empty() ? nullptr : m_templates.front()->OpenDocumentFile(path);
}

void CWinApp::AddToRecentFileList(const std::string& path)
{
    if (m_recentFiles == nullptr)
        return;
    m_recentFiles->Add(path);
    m_recentFiles->WriteList(Profile());
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& commandLine)
{
    switch (commandLine.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        return OpenDocumentFile({}) != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(commandLine.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        break;
    }
    return true;
}

bool CWinApp::SaveAllModified()
{
    for (const auto& docTemplate : m_templates) {
        if (!docTemplate->SaveAllModified())
            return false;
    }
    return true;
}

void CWinApp::OnFileNew()
{
    OpenDocumentFile({});
}

void CWinApp::OnFileOpen()
{
    CFileDialog dialog(FileDialogPurpose::Open, {}, {}, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "All Files|*|");
    if (dialog.DoModal() == IDOK)
        OpenDocumentFile(dialog.GetPathName());
}

void CWinApp::OnAppExit()
{
    // Posted: the menu that chose Exit is still on the stack.
    if (m_pMainWnd != nullptr)
        m_pMainWnd->PostMessage(WM_CLOSE);
}

void CWinApp::OnOpenRecentFile(UINT id)
{
    const auto index = static_cast<int>(id - ID_FILE_MRU_FILE1);
    if (m_recentFiles == nullptr || index >= static_cast<int>(m_recentFiles->Entries().size()))
        return;
    const std::string path = m_recentFiles->Entries()[static_cast<std::size_t>(index)];
    // Kept when the open was only cancelled (at the save-changes question); dropped when the path
    // no longer names a file that can be read.
    if (OpenDocumentFile(path) == nullptr && !utils::OpenRegularFileForReading(path).IsOpen()) {
        m_recentFiles->Remove(index);
        m_recentFiles->WriteList(Profile());
    }
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* commandUi)
{
    if (m_recentFiles == nullptr) {
        commandUi->Enable(false);
        return;
    }
    // Asked without a menu, the first entry is about to be chosen: it runs when it names a file.
    if (commandUi->m_pMenu == nullptr) {
        commandUi->Enable(!m_recentFiles->Entries().empty());
        return;
    }
    m_recentFiles->UpdateMenu(commandUi);
}

CWinApp* AfxGetApp()
{
    return theApplication;
}

CWnd* AfxGetMainWnd()
{
    return theApplication != nullptr ? theApplication->m_pMainWnd : nullptr;
}
