#include "views/quill_text_view.h"

#include "platform/command_ids.h"
#include "views/editor_command_ids.h"

#include <algorithm>

namespace {

// Word classes of a character, read from its first byte: every byte from 128 up (so every
// character beyond ASCII, and every invalid byte) belongs to words.
enum class CharClass { Word, Whitespace, Punctuation };

CharClass ClassOf(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    if (value >= 128 || value == '_' || (value >= '0' && value <= '9') || (value >= 'a' && value <= 'z')
        || (value >= 'A' && value <= 'Z'))
        return CharClass::Word;
    if (value == ' ' || (value >= '\t' && value <= '\r'))
        return CharClass::Whitespace;
    return CharClass::Punctuation;
}

bool IsWhitespace(char byte)
{
    return ClassOf(byte) == CharClass::Whitespace;
}

constexpr bool Selects(CaretMotion motion)
{
    return motion == CaretMotion::Select;
}

} // namespace

void CQuillTextView::MapCaretCommands()
{
    MapCommandRange(ID_EDIT_CHAR_LEFT, ID_EDIT_EXT_TEXT_END, &CQuillTextView::OnCursorCommand);
    MapCommand(ID_EDIT_SELECT_ALL, &CQuillTextView::SelectAll);
    MapCommandRange(ID_VIEW_ENCODING_UTF8, ID_VIEW_ENCODING_LEGACY, &CQuillTextView::OnEncodingCommand);
    MapUpdateCommandUI(ID_VIEW_ENCODING_UTF8, &CQuillTextView::OnUpdateEncodingCommand);
    MapUpdateCommandUI(ID_VIEW_ENCODING_LEGACY, &CQuillTextView::OnUpdateEncodingCommand);
}

void CQuillTextView::OnCursorCommand(UINT id)
{
    if (id == ID_EDIT_SCROLL_UP) {
        ScrollLineUp();
        return;
    }
    if (id == ID_EDIT_SCROLL_DOWN) {
        ScrollLineDown();
        return;
    }
    // Every moving command is followed by its selecting variant.
    const CaretMotion motion = (id - ID_EDIT_CHAR_LEFT) % 2 == 1 ? CaretMotion::Select : CaretMotion::Move;
    switch (id - (id - ID_EDIT_CHAR_LEFT) % 2) {
    case ID_EDIT_CHAR_LEFT:
        return MoveCharLeft(motion);
    case ID_EDIT_CHAR_RIGHT:
        return MoveCharRight(motion);
    case ID_EDIT_WORD_LEFT:
        return MoveWordLeft(motion);
    case ID_EDIT_WORD_RIGHT:
        return MoveWordRight(motion);
    case ID_EDIT_LINE_UP:
        return MoveLineUp(motion);
    case ID_EDIT_LINE_DOWN:
        return MoveLineDown(motion);
    case ID_EDIT_PAGE_UP:
        return MovePageUp(motion);
    case ID_EDIT_PAGE_DOWN:
        return MovePageDown(motion);
    case ID_EDIT_LINE_END:
        return MoveLineEnd(motion);
    case ID_EDIT_HOME:
        return MoveHome(motion);
    case ID_EDIT_TEXT_BEGIN:
        return MoveTextBegin(motion);
    case ID_EDIT_TEXT_END:
        return MoveTextEnd(motion);
    default:
        return;
    }
}

void CQuillTextView::FinishCaretMove(CaretMotion motion)
{
    BringIntoView(m_caretPos);
    PlaceCaret();
    if (!Selects(motion))
        m_anchorPos = m_caretPos;
    SelectRange(m_anchorPos, m_caretPos);
}

bool CQuillTextView::CollapseSelectionTo(CaretMotion motion, SelectionEnd end)
{
    if (Selects(motion) || !HasSelection())
        return false;
    TextPosition start;
    TextPosition finish;
    GetSelection(start, finish);
    m_caretPos = end == SelectionEnd::Start ? start : finish;
    return true;
}

void CQuillTextView::MoveCharLeft(CaretMotion motion)
{
    if (!CollapseSelectionTo(motion, SelectionEnd::Start)) {
        if (m_caretPos.character > 0)
            m_caretPos.character = PreviousCharIndex(m_caretPos.line, m_caretPos.character);
        else if (m_caretPos.line > 0)
            m_caretPos = {LineLength(m_caretPos.line - 1), m_caretPos.line - 1};
    }
    SetIdealColumnFromCaret();
    FinishCaretMove(motion);
}

void CQuillTextView::MoveCharRight(CaretMotion motion)
{
    if (!CollapseSelectionTo(motion, SelectionEnd::End)) {
        if (m_caretPos.character < LineLength(m_caretPos.line))
            m_caretPos.character = NextCharIndex(m_caretPos.line, m_caretPos.character);
        else if (m_caretPos.line < LineCount() - 1)
            m_caretPos = {0, m_caretPos.line + 1};
    }
    SetIdealColumnFromCaret();
    FinishCaretMove(motion);
}

void CQuillTextView::MoveWordLeft(CaretMotion motion)
{
    if (!Selects(motion) && HasSelection()) {
        MoveCharLeft(motion);
        return;
    }
    TextPosition position = m_caretPos;
    if (position.character == 0) {
        if (position.line == 0)
            return;
        position = {LineLength(position.line - 1), position.line - 1};
    }
    const std::string_view text = LineText(position.line);
    int index = position.character;
    // Whitespace is ASCII, so it is stepped over byte by byte.
    while (index > 0 && IsWhitespace(text[static_cast<std::size_t>(index - 1)]))
        --index;
    if (index > 0) {
        index = PreviousCharIndex(position.line, index);
        const CharClass wanted = ClassOf(text[static_cast<std::size_t>(index)]);
        while (index > 0) {
            const int previous = PreviousCharIndex(position.line, index);
            if (ClassOf(text[static_cast<std::size_t>(previous)]) != wanted)
                break;
            index = previous;
        }
    }
    m_caretPos = {index, position.line};
    SetIdealColumnFromCaret();
    FinishCaretMove(motion);
}

void CQuillTextView::MoveWordRight(CaretMotion motion)
{
    if (!Selects(motion) && HasSelection()) {
        MoveCharRight(motion);
        return;
    }
    if (m_caretPos.character >= LineLength(m_caretPos.line)) {
        if (m_caretPos.line >= LineCount() - 1)
            return;
        m_caretPos = {0, m_caretPos.line + 1};
    }
    const int length = LineLength(m_caretPos.line);
    if (m_caretPos.character >= length) {
        MoveCharRight(motion);
        return;
    }
    const std::string_view text = LineText(m_caretPos.line);
    int index = m_caretPos.character;
    const CharClass start = ClassOf(text[static_cast<std::size_t>(index)]);
    if (start != CharClass::Whitespace) {
        while (index < length && ClassOf(text[static_cast<std::size_t>(index)]) == start)
            index = NextCharIndex(m_caretPos.line, index);
    }
    while (index < length && IsWhitespace(text[static_cast<std::size_t>(index)]))
        ++index;
    m_caretPos.character = index;
    SetIdealColumnFromCaret();
    FinishCaretMove(motion);
}

void CQuillTextView::MoveCaretToLine(int line)
{
    if (m_idealColumn == -1)
        SetIdealColumnFromCaret();
    m_caretPos = {std::min(CharAtColumn(line, m_idealColumn), LineLength(line)), line};
}

void CQuillTextView::MoveLineUp(CaretMotion motion)
{
    CollapseSelectionTo(motion, SelectionEnd::Start);
    if (m_caretPos.line > 0)
        MoveCaretToLine(m_caretPos.line - 1);
    FinishCaretMove(motion);
}

void CQuillTextView::MoveLineDown(CaretMotion motion)
{
    CollapseSelectionTo(motion, SelectionEnd::End);
    if (m_caretPos.line < LineCount() - 1)
        MoveCaretToLine(m_caretPos.line + 1);
    FinishCaretMove(motion);
}

void CQuillTextView::MoveVertically(int lines, CaretMotion motion)
{
    const int line = std::clamp(m_caretPos.line + lines, 0, std::max(LineCount() - 1, 0));
    m_caretPos = OnCharacter({std::min(m_caretPos.character, LineLength(line)), line});
    SetIdealColumnFromCaret();
    FinishCaretMove(motion);
}

void CQuillTextView::MovePageUp(CaretMotion motion)
{
    // A window of one line (or none) still pages by one line, and never the wrong way.
    const int step = std::max(VisibleLineCount() - 1, 1);
    const int newTop = std::max(m_topLine - step, 0);
    if (newTop != m_topLine)
        ScrollToLine(newTop, ScrollBarTracking::Move);
    MoveVertically(-step, motion);
}

void CQuillTextView::MovePageDown(CaretMotion motion)
{
    const int step = std::max(VisibleLineCount() - 1, 1);
    const int newTop = std::min(m_topLine + step, std::max(LineCount() - 1, 0));
    if (newTop != m_topLine)
        ScrollToLine(newTop, ScrollBarTracking::Move);
    MoveVertically(step, motion);
}

void CQuillTextView::MoveLineEnd(CaretMotion motion)
{
    m_caretPos.character = LineLength(m_caretPos.line);
    SetIdealColumnFromCaret();
    FinishCaretMove(motion);
}

void CQuillTextView::MoveHome(CaretMotion motion)
{
    const std::string_view text = LineText(m_caretPos.line);
    const auto indentation = static_cast<int>(std::find_if_not(text.begin(), text.end(), IsWhitespace) - text.begin());
    const bool allWhitespace = indentation == static_cast<int>(text.size());
    m_caretPos.character = !allWhitespace && m_caretPos.character != indentation ? indentation : 0;
    SetIdealColumnFromCaret();
    FinishCaretMove(motion);
}

void CQuillTextView::MoveTextBegin(CaretMotion motion)
{
    m_caretPos = {0, 0};
    SetIdealColumnFromCaret();
    FinishCaretMove(motion);
}

void CQuillTextView::MoveTextEnd(CaretMotion motion)
{
    m_caretPos = TextEnd();
    SetIdealColumnFromCaret();
    FinishCaretMove(motion);
}
