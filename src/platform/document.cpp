#include "platform/document.h"

#include "platform/command_ids.h"
#include "platform/cursor.h"
#include "platform/file_dialog.h"
#include "platform/frame_wnd.h"
#include "platform/message_box.h"
#include "platform/view.h"
#include "platform/win_app.h"
#include "utils/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace {

std::string FileNamePart(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Why the file cannot be opened as a document; empty when it can.
std::string UnreadableReason(const std::string& path)
{
    if (std::string reason = utils::NotRegularFileReason(path); !reason.empty())
        return reason;
    if (!utils::OpenRegularFileForReading(path).IsOpen())
        return std::strerror(errno);
    return {};
}

// The read-only attribute: an existing file whose owner may not write it.
bool IsReadOnlyFile(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && (status.st_mode & S_IWUSR) == 0;
}

}  // namespace

CDocument::CDocument()
{
    MapCommand(ID_FILE_SAVE, &CDocument::OnFileSave);
    MapCommand(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs);
}

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
}

void CDocument::SetTitle(const std::string& title)
{
    m_strTitle = title;
    for (CView* view : m_views) {
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle();
    }
}

void CDocument::SetPathName(const std::string& path, RecentFiles recentFiles)
{
    // A document knows its file by its full path, so the recent-file list and the documentation job
    // find it again from any working directory.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    m_strPathName = error ? path : absolute.lexically_normal().string();
    SetTitle(FileNamePart(m_strPathName));
    if (CWinApp* application = AfxGetApp(); application != nullptr && recentFiles == RecentFiles::Add)
        application->AddToRecentFileList(m_strPathName);
}

void CDocument::ClearPathName()
{
    m_strPathName.clear();
}

void CDocument::SetModifiedFlag(bool modified)
{
    m_bModified = modified;
}

void CDocument::AddView(CView* view)
{
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    std::erase(m_views, view);
    view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    for (CView* view : m_views) {
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
    }
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    ClearPathName();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string& path)
{
    m_openDeletedContents = false;
    if (const std::string reason = UnreadableReason(path); !reason.empty()) {
        AfxMessageBox("Cannot open the file " + path + ":\n" + reason, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    DeleteContents();
    m_openDeletedContents = true;
    SetModifiedFlag(false);
    return true;
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    const std::string name = m_strPathName.empty() ? m_strTitle : m_strPathName;
    switch (AfxMessageBox("Save changes to " + name + "?", MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return false;
    case IDYES:
        return DoFileSave();
    default:
        return true;
    }
}

bool CDocument::DoSave(const std::string& path, SaveAs mode)
{
    std::string target = path;
    if (mode == SaveAs::Ask || target.empty()) {
        CFileDialog dialog(FileDialogPurpose::Save, {}, target.empty() ? m_strTitle : target,
                           OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        if (dialog.DoModal() != IDOK)
            return false;
        target = dialog.GetPathName();
    }
    CWaitCursor wait;
    if (!OnSaveDocument(target))
        return false;
    SetPathName(target);
    return true;
}

bool CDocument::DoFileSave()
{
    if (m_strPathName.empty() || IsReadOnlyFile(m_strPathName))
        return DoSave(m_strPathName, SaveAs::Ask);
    return DoSave(m_strPathName, SaveAs::UseGivenPath);
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(m_strPathName, SaveAs::Ask);
}
