#include "views/quill_edit_view.h"

#include "buffer/undo_action.h"
#include "buffer/undo_group.h"
#include "platform/system_services.h"
#include "platform/virtual_keys.h"
#include "utils/unicode_text_conversion.h"

#include <algorithm>

namespace {

constexpr char32_t CarriageReturn = 13;
constexpr char32_t FirstPrintable = 32;

bool IsLeadingWhiteSpace(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\v' || byte == '\f' || byte == '\r' || byte == '\n';
}

bool MouseButtonDown()
{
    return (GetKeyState(VK_LBUTTON) & 0x8000) != 0 || (GetKeyState(VK_RBUTTON) & 0x8000) != 0;
}

}  // namespace

void CQuillEditView::OnChar(UINT character, UINT, UINT)
{
    // A character typed while a button is down would land in a selection being made.
    if (MouseButtonDown())
        return;
    if (character == CarriageReturn) {
        TypeEnter();
        return;
    }
    if (character < FirstPrintable || !IsEditable())
        return;
    TypeCharacter(static_cast<char32_t>(character));
}

void CQuillEditView::TypeEnter()
{
    if (m_overwriteMode && CaretPos().line < LineCount() - 1) {
        PlaceCaretAt({0, CaretPos().line + 1});
        return;
    }
    if (!IsEditable())
        return;
    UndoGroup group(*Buffer(), this, UndoGroupMerge::NewGroup);
    InsertAndPlaceCaret(DeleteSelectionText(), "\r\n", UndoAction::Typing);
    // Closing the group calls EditNotify, which indents as an undo step of its own.
    group.Close();
}

void CQuillEditView::TypeCharacter(char32_t character)
{
    const std::string bytes = BytesOfTyped(character);
    if (bytes.empty()) {
        MessageBeep(0);
        return;
    }
    // Characters join the group before them; a space starts a new one, so one undo step takes a
    // word back together with the space before it.
    UndoGroup group(*Buffer(), this, character == ' ' ? UndoGroupMerge::NewGroup : UndoGroupMerge::JoinPrevious);
    const bool overwriting = m_overwriteMode && !HasSelection();
    const TextPosition at = DeleteSelectionText();
    if (overwriting && at.character < LineLength(at.line)) {
        const int next = NextCharIndex(at.line, at.character);
        Buffer()->DeleteText(this, at.line, at.character, at.line, next, UndoAction::Typing);
    }
    InsertAndPlaceCaret(at, bytes, UndoAction::Typing);
    group.Close();
}

std::string CQuillEditView::BytesOfTyped(char32_t character) const
{
    return utils::DocumentTextOfUnicode(utf8::Encode(character), DocumentCharacters()).bytes;
}

void CQuillEditView::EditNotify(std::int32_t action, std::string_view text)
{
    if (m_autoIndent && action == UndoAction::Typing && text == "\r\n" && !m_overwriteMode)
        InsertAutoIndent();
}

void CQuillEditView::InsertAutoIndent()
{
    const TextPosition caret = CaretPos();
    if (caret.line < 1 || !IsEditable())
        return;
    const std::string_view above = LineText(caret.line - 1);
    const auto width = std::find_if_not(above.begin(), above.end(), IsLeadingWhiteSpace) - above.begin();
    if (width == 0)
        return;
    const std::string indentation(above.substr(0, static_cast<std::size_t>(width)));
    TextPosition end;
    if (Buffer()->InsertText(nullptr, caret.line, caret.character, indentation, end.line, end.character,
                             UndoAction::AutoIndent))
        PlaceCaretAt(end);
}

void CQuillEditView::OnEditDelete()
{
    if (!IsEditable())
        return;
    TextPosition start;
    TextPosition end;
    GetSelection(start, end);
    if (start == end) {
        if (end.character < LineLength(end.line))
            end.character = NextCharIndex(end.line, end.character);
        else if (end.line < LineCount() - 1)
            end = {0, end.line + 1};
        else
            return;
    }
    PlaceCaretAt(start);
    Buffer()->DeleteText(this, start.line, start.character, end.line, end.character, UndoAction::Delete);
}

void CQuillEditView::OnEditDeleteBack()
{
    if (HasSelection()) {
        OnEditDelete();
        return;
    }
    if (!IsEditable())
        return;
    const TextPosition caret = CaretPos();
    TextPosition previous = caret;
    if (caret.character > 0)
        previous.character = PreviousCharIndex(caret.line, caret.character);
    else if (caret.line > 0)
        previous = {LineLength(caret.line - 1), caret.line - 1};
    else
        return;
    PlaceCaretAt(previous);
    Buffer()->DeleteText(this, previous.line, previous.character, caret.line, caret.character, UndoAction::Backspace);
}

bool CQuillEditView::SelectLineBlock(int& first, int& last)
{
    TextPosition start;
    TextPosition end;
    GetSelection(start, end);
    if (start.line == end.line)
        return false;
    first = start.line;
    last = end.line;
    if (end.character == 0) {
        --last;
    } else {
        end = last < LineCount() - 1 ? TextPosition{0, last + 1} : TextPosition{LineLength(last), last};
    }
    // The whole lines stay selected, with the caret at their end.
    const TextPosition blockStart{0, first};
    SetCaretPos(end);
    SetSelectionAnchor(blockStart);
    SelectRange(blockStart, end);
    BringIntoView(end);
    return true;
}

void CQuillEditView::OnEditTab()
{
    if (!IsEditable())
        return;
    int first = 0;
    int last = 0;
    if (SelectLineBlock(first, last)) {
        IndentLines(first, last);
        return;
    }
    if (m_overwriteMode && CaretPos().character < LineLength(CaretPos().line)) {
        MoveCaretToNextTabStop();
        return;
    }
    UndoGroup group(*Buffer(), this, UndoGroupMerge::NewGroup);
    InsertAndPlaceCaret(DeleteSelectionText(), "\t", UndoAction::Typing);
    group.Close();
}

void CQuillEditView::IndentLines(int first, int last)
{
    UndoGroup group(*Buffer(), this, UndoGroupMerge::NewGroup);
    {
        const DeferredUpdates deferred(*this);
        for (int line = first; line <= last; ++line) {
            TextPosition end;
            Buffer()->InsertText(this, line, 0, "\t", end.line, end.character, UndoAction::Indent);
        }
    }
    group.Close();
}

void CQuillEditView::MoveCaretToNextTabStop()
{
    const TextPosition caret = CaretPos();
    const int distance = TabSize() - ColumnOfChar(caret.line, caret.character) % TabSize();
    const std::string_view line = LineText(caret.line);
    int index = caret.character;
    for (int step = 0; step < distance && index < static_cast<int>(line.size()); ++step) {
        const bool tab = line[static_cast<std::size_t>(index)] == '\t';
        index = NextCharIndex(caret.line, index);
        if (tab)
            break;
    }
    PlaceCaretAt({index, caret.line});
}

void CQuillEditView::OnEditUntab()
{
    if (!IsEditable())
        return;
    int first = 0;
    int last = 0;
    if (SelectLineBlock(first, last)) {
        UnindentLines(first, last);
        return;
    }
    MoveCaretToPreviousTabStop();
}

int CQuillEditView::UnindentWidth(int line)
{
    const std::string_view text = LineText(line);
    int width = 0;
    while (width < TabSize() && width < static_cast<int>(text.size())) {
        const char byte = text[static_cast<std::size_t>(width)];
        if (byte == '\t')
            return width + 1;
        if (byte != ' ')
            break;
        ++width;
    }
    return width;
}

void CQuillEditView::UnindentLines(int first, int last)
{
    UndoGroup group(*Buffer(), this, UndoGroupMerge::NewGroup);
    {
        const DeferredUpdates deferred(*this);
        for (int line = first; line <= last; ++line) {
            if (const int width = UnindentWidth(line); width > 0)
                Buffer()->DeleteText(this, line, 0, line, width, UndoAction::Indent);
        }
    }
    group.Close();
}

void CQuillEditView::MoveCaretToPreviousTabStop()
{
    const TextPosition caret = CaretPos();
    if (caret.character == 0)
        return;
    const int column = ColumnOfChar(caret.line, caret.character);
    int stop = column / TabSize() * TabSize();
    if (stop == column && stop > 0)
        stop -= TabSize();
    int index = 0;
    while (index < LineLength(caret.line) && ColumnOfChar(caret.line, index) < stop)
        index = NextCharIndex(caret.line, index);
    PlaceCaretAt({index, caret.line});
}
