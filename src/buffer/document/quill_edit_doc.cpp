#include "buffer/document/quill_edit_doc.h"

#include "utils/error_reporting.h"

namespace {

constexpr const char* SaveFailedMessage = "Failed to save document:\n{}";
constexpr const char* OpenFailedMessage = "Failed to open document:\n{}";

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

void CQuillEditDoc::DeleteContents()
{
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
    // The file could be opened but not read as text (a directory, a read error): say why, since
    // the framework's own check found nothing wrong.
    utils::ReportSystemError(OpenFailedMessage);
    return false;
}

bool CQuillEditDoc::OnSaveDocument(const std::string& path)
{
    const auto mode = path == GetPathName() ? SaveMode::ClearModified : SaveMode::KeepModified;
    if (m_buffer.SaveFile(path, mode))
        return true;
    utils::ReportSystemError(SaveFailedMessage);
    return false;
}
