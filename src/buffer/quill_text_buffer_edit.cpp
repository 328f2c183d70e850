#include "buffer/quill_text_buffer.h"

#include "buffer/inserted_text_lines.h"
#include "buffer/text_change.h"
#include "buffer/update_hint.h"

#include <cstring>
#include <functional>

namespace {

// Calls visit with the bytes of every line between the two positions, first to last, without the
// line ends between them.
template <typename Visit>
void VisitPieces(const LineTable& lines, TextPosition start, TextPosition end, Visit visit)
{
    if (start.line == end.line) {
        visit(lines[start.line].Text().substr(static_cast<std::size_t>(start.character),
                                              static_cast<std::size_t>(end.character - start.character)));
        return;
    }
    visit(lines[start.line].Text().substr(static_cast<std::size_t>(start.character)));
    for (std::int32_t line = start.line + 1; line < end.line; ++line) {
        visit(lines[line].Text());
    }
    visit(lines[end.line].Text().substr(0, static_cast<std::size_t>(end.character)));
}

constexpr std::string_view UndoLineEnd = "\r\n";

}  // namespace

void CQuillTextBuffer::ExtractText(std::int32_t startLine, std::int32_t startChar, std::int32_t endLine,
                                   std::int32_t endChar, std::string& text, std::string_view lineEnd) const
{
    const TextPosition start{startChar, startLine};
    const TextPosition end{endChar, endLine};
    CheckRange(start, end);
    std::size_t size = static_cast<std::size_t>(endLine - startLine) * lineEnd.size();
    VisitPieces(m_lines, start, end, [&size](std::string_view piece) { size += piece.size(); });
    text.clear();
    text.reserve(size);
    bool first = true;
    VisitPieces(m_lines, start, end, [&](std::string_view piece) {
        if (!first) {
            text.append(lineEnd);
        }
        first = false;
        text.append(piece);
    });
}

template <typename Announce>
void CQuillTextBuffer::RecordEdit(BufferView* source, UndoRecord record, Announce announce)
{
    const bool openedHere = !m_undo.IsGroupOpen();
    if (openedHere) {
        m_undo.OpenGroup(UndoGroupMerge::NewGroup);
    }
    m_undo.Record(std::move(record));
    if (!openedHere) {
        announce();
        return;
    }
    try {
        announce();
    } catch (...) {
        m_undo.CloseGroup();
        throw;
    }
    CloseUndoGroup(source);
}

bool CQuillTextBuffer::RawInsertText(BufferView* source, std::int32_t line, std::int32_t character,
                                     std::string_view text, std::int32_t& endLine, std::int32_t& endChar)
{
    CheckPosition(line, character);
    if (m_bReadOnly) {
        return false;
    }
    if (PointsIntoLine(text, line)) {
        const std::string copy(text);
        return RawInsertText(source, line, character, copy, endLine, endChar);
    }
    const TextPosition start{character, line};
    const TextPosition end = InsertPieces(start, SplitInsertedText(text));
    AnnounceInsertion(source, start, end);
    endLine = end.line;
    endChar = end.character;
    return true;
}

bool CQuillTextBuffer::RawDeleteText(BufferView* source, std::int32_t startLine, std::int32_t startChar,
                                     std::int32_t endLine, std::int32_t endChar)
{
    const TextPosition start{startChar, startLine};
    const TextPosition end{endChar, endLine};
    CheckRange(start, end);
    if (m_bReadOnly) {
        return false;
    }
    RemoveRange(start, end);
    AnnounceDeletion(source, start, end);
    return true;
}

bool CQuillTextBuffer::InsertText(BufferView* source, std::int32_t line, std::int32_t character,
                                  std::string_view text, std::int32_t& endLine, std::int32_t& endChar,
                                  std::int32_t action)
{
    CheckPosition(line, character);
    if (m_bReadOnly) {
        return false;
    }
    if (PointsIntoLine(text, line)) {
        const std::string copy(text);
        return InsertText(source, line, character, copy, endLine, endChar, action);
    }
    // Whatever may fail for want of memory happens before the text changes.
    const TextPosition start{character, line};
    UndoRecord record;
    record.flags = UndoRecordFlag::Inserted;
    record.start = start;
    record.action = action;
    record.text = text;
    const std::vector<std::string_view> pieces = SplitInsertedText(text);
    m_undo.ReserveRecord();
    const TextPosition end = InsertPieces(start, pieces);
    record.end = end;
    endLine = end.line;
    endChar = end.character;
    RecordEdit(source, std::move(record), [&] { AnnounceInsertion(source, start, end); });
    return true;
}

bool CQuillTextBuffer::DeleteText(BufferView* source, std::int32_t startLine, std::int32_t startChar,
                                  std::int32_t endLine, std::int32_t endChar, std::int32_t action)
{
    const TextPosition start{startChar, startLine};
    const TextPosition end{endChar, endLine};
    CheckRange(start, end);
    if (m_bReadOnly) {
        return false;
    }
    UndoRecord record = DeletionRecord(start, end, action);
    m_undo.ReserveRecord();
    RemoveRange(start, end);
    RecordEdit(source, std::move(record), [&] { AnnounceDeletion(source, start, end); });
    return true;
}

bool CQuillTextBuffer::PointsIntoLine(std::string_view text, std::int32_t line) const
{
    const LineRecord& record = m_lines[line];
    const std::less_equal<const char*> notAfter;
    const char* begin = record.characters;
    return !text.empty() && notAfter(begin, text.data()) && notAfter(text.data(), begin + record.capacity);
}

TextPosition CQuillTextBuffer::InsertPieces(TextPosition start, std::span<const std::string_view> pieces)
{
    const std::string_view line = m_lines[start.line].Text();
    const std::string_view tail = line.substr(static_cast<std::size_t>(start.character));
    if (pieces.size() == 1) {
        const std::string tailCopy(tail);
        m_lines.ReserveChars(start.line, line.size() + pieces.front().size());
        m_lines.TruncateLine(start.line, start.character);
        m_lines.AppendChars(start.line, pieces.front());
        m_lines.AppendChars(start.line, tailCopy);
        return {start.character + static_cast<std::int32_t>(pieces.front().size()), start.line};
    }
    // The new lines are made whole (the last one with the old rest of the line) before the first
    // line is cut, and the first line's array is made large enough first, so that nothing can fail
    // once the text starts to change.
    std::string lastLine(pieces.back());
    lastLine.append(tail);
    std::vector<std::string_view> newLines(pieces.begin() + 1, pieces.end());
    newLines.back() = lastLine;
    m_lines.ReserveChars(start.line, static_cast<std::size_t>(start.character) + pieces.front().size());
    m_lines.InsertLines(start.line + 1, newLines);
    m_lines.TruncateLine(start.line, start.character);
    m_lines.AppendChars(start.line, pieces.front());
    const auto endLine = static_cast<std::int32_t>(start.line + pieces.size() - 1);
    return {static_cast<std::int32_t>(pieces.back().size()), endLine};
}

void CQuillTextBuffer::RemoveRange(TextPosition start, TextPosition end)
{
    if (start.line == end.line) {
        LineRecord& line = m_lines[start.line];
        std::memmove(line.characters + start.character, line.characters + end.character,
                     static_cast<std::size_t>(line.length - end.character));
        line.length -= end.character - start.character;
        return;
    }
    const std::string_view rest = m_lines[end.line].Text().substr(static_cast<std::size_t>(end.character));
    m_lines.ReserveChars(start.line, static_cast<std::size_t>(start.character) + rest.size());
    m_lines.TruncateLine(start.line, start.character);
    m_lines.AppendChars(start.line, rest);
    m_lines.RemoveLines(start.line + 1, end.line - start.line);
}

void CQuillTextBuffer::AnnounceInsertion(BufferView* source, TextPosition start, TextPosition end)
{
    const std::uint32_t hints = start.line != end.line ? UpdateHint::LineWidthChanged | UpdateHint::LineCountChanged
                                                       : UpdateHint::LineWidthChanged | UpdateHint::OneLine;
    const InsertionChange change(start, end);
    NotifyViews(source, &change, hints, start.line);
    MarkModified();
}

void CQuillTextBuffer::AnnounceDeletion(BufferView* source, TextPosition start, TextPosition end)
{
    const std::uint32_t hints = start.line == end.line ? UpdateHint::LineWidthChanged | UpdateHint::OneLine
                                                       : UpdateHint::LineWidthChanged | UpdateHint::LineCountChanged;
    const DeletionChange change(start, end);
    NotifyViews(source, &change, hints, start.line);
    MarkModified();
}

UndoRecord CQuillTextBuffer::DeletionRecord(TextPosition start, TextPosition end, std::int32_t action) const
{
    UndoRecord record;
    record.start = start;
    record.end = end;
    record.action = action;
    ExtractText(start.line, start.character, end.line, end.character, record.text, UndoLineEnd);

    bool holdsCarriageReturn = false;
    VisitPieces(m_lines, start, end, [&holdsCarriageReturn](std::string_view piece) {
        holdsCarriageReturn = holdsCarriageReturn || piece.find('\r') != std::string_view::npos;
    });
    if (holdsCarriageReturn) {
        VisitPieces(m_lines, start, end, [&record](std::string_view piece) {
            record.pieceLengths.push_back(static_cast<std::int32_t>(piece.size()));
        });
    }
    return record;
}
