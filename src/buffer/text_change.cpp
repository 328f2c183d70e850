#include "buffer/text_change.h"

void InsertionChange::AdjustPosition(TextPosition& position) const
{
    if (position.line < m_start.line) {
        return;
    }
    const std::int32_t addedLines = m_end.line - m_start.line;
    if (position.line > m_start.line) {
        position.line += addedLines;
        return;
    }
    if (position.character <= m_start.character) {
        return;
    }
    position.line += addedLines;
    position.character += m_end.character - m_start.character;
}

void DeletionChange::AdjustPosition(TextPosition& position) const
{
    if (position.line < m_start.line) {
        return;
    }
    if (position.line > m_end.line) {
        position.line -= m_end.line - m_start.line;
        return;
    }
    if (position.line == m_end.line && position.character >= m_end.character) {
        position.line = m_start.line;
        position.character = position.character - m_end.character + m_start.character;
        return;
    }
    if (position.line > m_start.line || position.character > m_start.character) {
        position = m_start;
    }
}
