#include "buffer/document/quill_edit_doc.h"

#include "utils/error_reporting.h"
#include "utils/message_format.h"

namespace {

constexpr const char* SaveFailedMessage = "Failed to save document:\n{}";
constexpr const char* OpenFailedMessage = "Failed to open document:\n{}";
constexpr const char* KeptBackupNote = "\nThe file may be incomplete. Its previous content is kept in\n";

} // namespace

CQuillEditDoc::CQuillEditDoc() : m_buffer(*this)
{
}

std::string CQuillEditDoc::WholeText() const
{
    std::string text;
    const auto lineCount = m_buffer.LineCount();
    if (lineCount == 0 || (lineCount == 1 && m_buffer.LineLength(0) == 0))
        return text;
    const auto lastLine = lineCount - 1;
    m_buffer.ExtractText(0, 0, lastLine, m_buffer.LineLength(lastLine), text, "\r\n");
    return text;
}

void CQuillEditDoc::SetModifiedFlag(bool modified)
{
    CDocument::SetModifiedFlag(modified);
    if (modified)
        m_recovery.TextChanged();
}

void CQuillEditDoc::TickRecovery(RecoveryKeeper::Clock::time_point now)
{
    m_recovery.Tick(m_buffer, GetPathName(), now);
}

void CQuillEditDoc::RecoverText(const RecoveredText& recovered)
{
    DeleteContents();
    m_buffer.LoadText(recovered.text, recovered.header.lineEnding, recovered.header.encoding);
    if (recovered.header.documentPath.empty())
        ClearPathName();
    else
        SetPathName(recovered.header.documentPath, RecentFiles::Leave);
    SetModifiedFlag(true);
    UpdateAllViews(nullptr);
}

void CQuillEditDoc::DeleteContents()
{
    m_recovery.Discard();
    CDocument::DeleteContents();
    m_buffer.Clear();
}

bool CQuillEditDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_buffer.CreateEmpty(NativeLineEndingStyle);
    return true;
}

bool CQuillEditDoc::OnOpenDocument(const std::string& path)
{
    if (!CDocument::OnOpenDocument(path))
        return false;
    if (m_buffer.LoadFile(path, LineEndingStyle::Automatic))
        return true;
    // The file could be opened but not read as text (a read error): say why, since the
    // framework's own check found nothing wrong.
    utils::ReportSystemError(OpenFailedMessage);
    return false;
}

bool CQuillEditDoc::OnSaveDocument(const std::string& path)
{
    const auto mode = path == GetPathName() ? SaveMode::ClearModified : SaveMode::KeepModified;
    if (m_buffer.SaveFile(path, mode)) {
        m_recovery.Discard();
        return true;
    }
    const std::string& backup = m_buffer.KeptBackupPath();
    if (backup.empty()) {
        utils::ReportSystemError(SaveFailedMessage);
        return false;
    }
    const std::string errorText = utils::SystemErrorText();
    const std::string failure = utils::MessageFormat(SaveFailedMessage) % errorText;
    utils::ShowMessageBox(failure + KeptBackupNote + backup, utils::MessageBoxOk);
    return false;
}
