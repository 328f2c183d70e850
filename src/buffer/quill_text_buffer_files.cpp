#include "buffer/quill_text_buffer.h"

#include "buffer/text_file_reader.h"
#include "buffer/text_file_writer.h"
#include "buffer/update_hint.h"

#include <cerrno>

bool CQuillTextBuffer::LoadFile(const std::string& path, LineEndingStyle style)
{
    Clear();
    m_lines.BeginLoading();
    const std::optional<LoadedFileFacts> facts = ReadTextFile(path, style, m_lines);
    m_lines.EndLoading();
    if (!facts) {
        // A half-read text is of no use; the buffer stays uninitialised and holds nothing.
        const int savedErrno = errno;
        Clear();
        errno = savedErrno;
        return false;
    }
    StartFreshText(facts->style);
    m_bReadOnly = facts->readOnly;
    NotifyViews(nullptr, nullptr, UpdateHint::ContentReset, -1);
    return true;
}

bool CQuillTextBuffer::SaveFile(const std::string& path, SaveMode mode)
{
    WriteResult result = WriteTextFile(path, m_lines, LineEndText(m_lineEndingStyle));
    m_keptBackup = std::move(result.keptBackup);
    if (!result.written) {
        return false;
    }
    if (mode == SaveMode::ClearModified) {
        SetModified(false);
        m_undo.MarkSaved();
    }
    return true;
}
