#include "buffer/quill_text_buffer.h"

#include "buffer/update_hint.h"

#include <algorithm>
#include <stdexcept>

std::int32_t CQuillTextBuffer::LineLength(std::int32_t line) const
{
    CheckLine(line);
    return m_lines[line].length;
}

const char* CQuillTextBuffer::LineChars(std::int32_t line) const
{
    CheckLine(line);
    return m_lines[line].characters;
}

LineFlags CQuillTextBuffer::LineFlagsOf(std::int32_t line) const
{
    CheckLine(line);
    return m_lines[line].flags;
}

std::int32_t CQuillTextBuffer::FindFlaggedLine(LineFlags flag) const
{
    if (!IsSingleFlag(flag)) {
        return -1;
    }
    for (std::int32_t line = 0; line < LineCount(); ++line) {
        if ((m_lines[line].flags & flag) != 0) {
            return line;
        }
    }
    return -1;
}

void CQuillTextBuffer::SetLineFlag(std::int32_t line, LineFlags flag, FlagOperation operation,
                                   FlagExclusivity exclusivity)
{
    if (!IsSingleFlag(flag)) {
        return;
    }
    if (line == -1) {
        line = FindFlaggedLine(flag);
        if (line < 0) {
            return;
        }
        exclusivity = FlagExclusivity::Shared;
    }
    CheckLine(line);
    const LineFlags oldFlags = m_lines[line].flags;
    const LineFlags newFlags = operation == FlagOperation::Set ? (oldFlags | flag) : (oldFlags & ~flag);
    if (newFlags == oldFlags) {
        return;
    }
    constexpr std::uint32_t flagHints = UpdateHint::OneLine | UpdateHint::FlagsOnly;
    if (exclusivity == FlagExclusivity::Exclusive && operation == FlagOperation::Set) {
        const std::int32_t holder = FindFlaggedLine(flag);
        if (holder >= 0) {
            m_lines[holder].flags &= ~flag;
            NotifyViews(nullptr, nullptr, flagHints, holder);
        }
    }
    m_lines[line].flags = newFlags;
    NotifyViews(nullptr, nullptr, flagHints, line);
}

std::int32_t CQuillTextBuffer::NextBookmarkLine(std::int32_t line) const
{
    CheckLine(line);
    const auto carriesBookmark = [this](std::int32_t index) {
        return (m_lines[index].flags & UnnumberedBookmarkFlag) != 0;
    };
    for (std::int32_t index = carriesBookmark(line) ? line + 1 : line; index < LineCount(); ++index) {
        if (carriesBookmark(index)) {
            return index;
        }
    }
    for (std::int32_t index = 0; index < LineCount(); ++index) {
        if (carriesBookmark(index)) {
            return index;
        }
    }
    return -1;
}

std::int32_t CQuillTextBuffer::PrevBookmarkLine(std::int32_t line) const
{
    CheckLine(line);
    const auto carriesBookmark = [this](std::int32_t index) {
        return (m_lines[index].flags & UnnumberedBookmarkFlag) != 0;
    };
    for (std::int32_t index = carriesBookmark(line) ? line - 1 : line; index >= 0; --index) {
        if (carriesBookmark(index)) {
            return index;
        }
    }
    for (std::int32_t index = LineCount() - 1; index >= 0; --index) {
        if (carriesBookmark(index)) {
            return index;
        }
    }
    return -1;
}

bool CQuillTextBuffer::CreateEmpty(LineEndingStyle style)
{
    Clear();
    m_lines.AppendLine({});
    StartFreshText(style == LineEndingStyle::Automatic ? NativeLineEndingStyle : style);
    NotifyViews(nullptr, nullptr, UpdateHint::ContentReset, -1);
    return true;
}

void CQuillTextBuffer::Clear()
{
    m_lines.Clear();
    m_undo.Clear();
    m_bInitialised = false;
}

void CQuillTextBuffer::SetModified(bool modified)
{
    m_bModified = modified;
}

void CQuillTextBuffer::AttachView(BufferView* view)
{
    m_views.push_back(view);
}

void CQuillTextBuffer::DetachView(BufferView* view)
{
    const auto found = std::find(m_views.begin(), m_views.end(), view);
    if (found != m_views.end()) {
        m_views.erase(found);
    }
}

void CQuillTextBuffer::NotifyViews(BufferView* source, const TextChange* change, std::uint32_t hints,
                                   std::int32_t line)
{
    // By index: a view may detach itself while it is being told.
    for (std::size_t index = 0; index < m_views.size(); ++index) {
        m_views[index]->OnBufferChanged(source, change, hints, line);
    }
}

void CQuillTextBuffer::CheckLine(std::int32_t line) const
{
    if (line < 0 || line >= LineCount()) {
        throw std::invalid_argument("line index " + std::to_string(line) + " outside the text of " +
                                    std::to_string(LineCount()) + " lines");
    }
}

void CQuillTextBuffer::CheckPosition(std::int32_t line, std::int32_t character) const
{
    CheckLine(line);
    if (character < 0 || character > m_lines[line].length) {
        throw std::invalid_argument("character index " + std::to_string(character) + " outside line " +
                                    std::to_string(line) + " of length " + std::to_string(m_lines[line].length));
    }
}

void CQuillTextBuffer::CheckRange(TextPosition start, TextPosition end) const
{
    CheckPosition(start.line, start.character);
    CheckPosition(end.line, end.character);
    if (end < start) {
        throw std::invalid_argument("text range ends before it starts");
    }
}

void CQuillTextBuffer::MarkModified()
{
    if (!m_bModified) {
        SetModified(true);
    }
}

void CQuillTextBuffer::StartFreshText(LineEndingStyle style)
{
    m_lineEndingStyle = style;
    m_encoding = TextEncoding::Utf8;
    m_bInitialised = true;
    m_bReadOnly = false;
    m_bModified = false;
    m_undo.Reset();
}
