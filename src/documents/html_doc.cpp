#include "documents/html_doc.h"

#include "documents/remote_page_address.h"
#include "platform/cursor.h"
#include "platform/win_app.h"
#include "utils/error_reporting.h"
#include "utils/file_utils.h"
#include "utils/message_box.h"

#include <cstdio>

namespace {

constexpr const char* SettingsGroup = "settings";
constexpr const char* DefaultServerHost = "localhost";
constexpr const char* DefaultMaintenanceAddress = "localhost:8000";

// A temporary file that is removed however the transfer ends.
class TemporaryPage {
public:
    TemporaryPage() : m_path(utils::CreateTemporaryFile("")) {}
    ~TemporaryPage() { std::remove(m_path.c_str()); }
    TemporaryPage(const TemporaryPage&) = delete;
    TemporaryPage& operator=(const TemporaryPage&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

bool UserAgrees(const std::string& question)
{
    return utils::ShowMessage(question, utils::MessageBoxYesNo | utils::MessageBoxIconQuestion) == utils::AnswerYes;
}

}  // namespace

remote_page::Endpoint CHtmlDoc::MaintenanceEndpoint()
{
    CWinApp* application = AfxGetApp();
    const std::string address = application == nullptr
                                    ? std::string(DefaultMaintenanceAddress)
                                    : application->GetProfileString(SettingsGroup, "maintenanceaddress",
                                                                     DefaultMaintenanceAddress);
    return {utils::ServerAddress(address)};
}

bool CHtmlDoc::OnOpenDocument(const std::string& path)
{
    m_serverPath.clear();
    return remote_page::IsRemote(path) ? OpenRemote(path) : OpenLocal(path);
}

void CHtmlDoc::SetPathName(const std::string& path, RecentFiles recentFiles)
{
    CQuillEditDoc::SetPathName(path, m_serverPath.empty() ? recentFiles : RecentFiles::Leave);
    if (!m_serverPath.empty())
        SetTitle(m_serverPath);
}

bool CHtmlDoc::OpenLocal(const std::string& path)
{
    if (!utils::IsReadOnly(path))
        return CQuillEditDoc::OnOpenDocument(path);
    // Write permission for the time of loading makes the text editable; the file keeps none.
    if (UserAgrees("File " + path + "\n is read only, edit anyway?"))
        utils::SetReadOnly(path, utils::ReadOnlyFlag::Clear);
    const bool loaded = CQuillEditDoc::OnOpenDocument(path);
    utils::SetReadOnly(path, utils::ReadOnlyFlag::Set);
    return loaded;
}

bool CHtmlDoc::OpenRemote(const std::string& path)
{
    std::string serverPath = path;
    try {
        serverPath = remote_page::ServerPath(path, DefaultServerHost);
        CWaitCursor wait;
        TemporaryPage page;
        remote_page::Download(MaintenanceEndpoint(), serverPath, page.Path());
        if (!CQuillEditDoc::OnOpenDocument(page.Path()))
            return false;
    } catch (const std::exception& error) {
        utils::ShowMessage("failed to open " + serverPath + ": " + error.what(),
                           utils::MessageBoxOk | utils::MessageBoxIconError);
        return false;
    }
    m_serverPath = serverPath;
    SetTitle(serverPath);
    return true;
}

void CHtmlDoc::SaveFromCommand()
{
    if (m_serverPath.empty())
        SaveLocal();
    else
        SaveRemote();
}

void CHtmlDoc::SaveLocal()
{
    const std::string& path = GetPathName();
    if (path.empty() || !utils::IsReadOnly(path)) {
        DoFileSave();
        return;
    }
    if (!UserAgrees("File " + path + "\nis read only, save anyway?"))
        return;
    utils::SetReadOnly(path, utils::ReadOnlyFlag::Clear);
    DoFileSave();
    utils::SetReadOnly(path, utils::ReadOnlyFlag::Set);
}

bool CHtmlDoc::SaveModified()
{
    if (m_serverPath.empty() || !IsModified())
        return CQuillEditDoc::SaveModified();
    switch (utils::ShowMessage("Save changes to " + m_serverPath + "?",
                               utils::MessageBoxYesNoCancel | utils::MessageBoxIconWarning)) {
    case utils::AnswerYes:
        return SaveRemote();
    case utils::AnswerNo:
        return true;
    default:
        return false;
    }
}

bool CHtmlDoc::SaveRemote()
{
    try {
        TemporaryPage page;
        CWaitCursor wait;
        // Saving under another path leaves the document marked modified. A failed save has already
        // said why.
        if (!OnSaveDocument(page.Path()))
            return false;
        remote_page::Upload(MaintenanceEndpoint(), page.Path(), m_serverPath);
        return true;
    } catch (const std::exception& error) {
        // The document stays modified, its text as it was.
        utils::ShowMessage("failed to save " + m_serverPath + ": " + error.what(),
                           utils::MessageBoxOk | utils::MessageBoxIconError);
        return false;
    }
}
