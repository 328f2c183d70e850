#include "buffer/quill_text_buffer.h"

#include "buffer/line_end_splitter.h"
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
    m_encoding = DetectEncoding();
    NotifyViews(nullptr, nullptr, UpdateHint::ContentReset, -1);
    return true;
}

void CQuillTextBuffer::LoadText(std::string_view bytes, LineEndingStyle style, TextEncoding encoding)
{
    Clear();
    m_lines.BeginLoading();
    try {
        LineEndSplitter splitter(m_lines, LineEndText(style));
        splitter.Feed(bytes);
        splitter.Finish();
    } catch (...) {
        m_lines.EndLoading();
        Clear();
        throw;
    }
    m_lines.EndLoading();
    StartFreshText(style);
    m_encoding = encoding;
    NotifyViews(nullptr, nullptr, UpdateHint::ContentReset, -1);
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

TextEncoding CQuillTextBuffer::DetectEncoding() const
{
    // A valid sequence never holds a line break, so counting line by line counts the file.
    utf8::EncodingDetector detector;
    for (std::int32_t line = 0; line < LineCount(); ++line)
        detector.Count(std::string_view(LineChars(line), static_cast<std::size_t>(LineLength(line))));
    return detector.Decision();
}

void CQuillTextBuffer::SetEncoding(TextEncoding encoding)
{
    if (encoding == m_encoding)
        return;
    m_encoding = encoding;
    NotifyViews(nullptr, nullptr, UpdateHint::LineWidthChanged, -1);
}
