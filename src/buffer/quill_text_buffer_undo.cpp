#include "buffer/quill_text_buffer.h"

#include "buffer/inserted_text_lines.h"
#include "buffer/undo_action.h"
#include "utils/string_table.h"

#include <algorithm>
#include <optional>

namespace {

// The line pieces of a removed text, which holds them joined by "\r\n".
std::vector<std::string_view> RemovedPieces(const UndoRecord& record)
{
    if (record.pieceLengths.empty()) {
        return SplitInsertedText(record.text);
    }
    std::vector<std::string_view> pieces;
    std::string_view rest = record.text;
    for (std::int32_t length : record.pieceLengths) {
        pieces.push_back(rest.substr(0, static_cast<std::size_t>(length)));
        rest.remove_prefix(std::min(rest.size(), static_cast<std::size_t>(length) + 2));
    }
    return pieces;
}

}  // namespace

void CQuillTextBuffer::OpenUndoGroup(UndoGroupMerge merge)
{
    m_undo.OpenGroup(merge);
}

void CQuillTextBuffer::CloseUndoGroup(BufferView* source)
{
    const UndoRecord* last = m_undo.LastApplied();
    if (source != nullptr && last != nullptr) {
        m_undo.StartNewGroup();
        // Copies: edits made from EditNotify add records and may move the table.
        const std::int32_t action = last->action;
        const std::string text = last->text;
        source->EditNotify(action, text);
    }
    m_undo.CloseGroup();
}

bool CQuillTextBuffer::Undo(TextPosition& caret)
{
    while (true) {
        const UndoRecord& record = m_undo.StepBack();
        caret = ReplayUndo(record);
        if (record.StartsGroup() || !m_undo.CanUndo()) {
            break;
        }
    }
    SyncModifiedWithSavedPosition();
    return true;
}

bool CQuillTextBuffer::Redo(TextPosition& caret)
{
    do {
        caret = ReplayRedo(m_undo.StepForward());
    } while (!m_undo.AtGroupBoundary());
    SyncModifiedWithSavedPosition();
    return true;
}

void CQuillTextBuffer::UndoDescription(std::string& text) const
{
    text.clear();
    if (const UndoRecord* first = m_undo.FirstOfUndoGroup()) {
        ActionDescription(first->action, text);
    }
}

void CQuillTextBuffer::RedoDescription(std::string& text) const
{
    text.clear();
    if (const UndoRecord* next = m_undo.NextToRedo()) {
        ActionDescription(next->action, text);
    }
}

bool CQuillTextBuffer::ActionDescription(std::int32_t action, std::string& text) const
{
    const std::optional<int> stringId = UndoActionStringId(action);
    if (!stringId) {
        return false;
    }
    text = utils::LoadResourceString(static_cast<unsigned int>(*stringId));
    return true;
}

void CQuillTextBuffer::RecordEdit(BufferView* source, UndoRecord record)
{
    const bool openedHere = !m_undo.IsGroupOpen();
    if (openedHere) {
        m_undo.OpenGroup(UndoGroupMerge::NewGroup);
    }
    m_undo.Record(std::move(record));
    if (openedHere) {
        CloseUndoGroup(source);
    }
}

TextPosition CQuillTextBuffer::ReplayUndo(const UndoRecord& record)
{
    if (record.IsInsertion()) {
        RemoveRange(nullptr, record.start, record.end);
        return record.start;
    }
    InsertPieces(nullptr, record.start, RemovedPieces(record));
    return record.end;
}

TextPosition CQuillTextBuffer::ReplayRedo(const UndoRecord& record)
{
    if (record.IsInsertion()) {
        InsertPieces(nullptr, record.start, SplitInsertedText(record.text));
        return record.end;
    }
    RemoveRange(nullptr, record.start, record.end);
    return record.start;
}

void CQuillTextBuffer::SyncModifiedWithSavedPosition()
{
    if (m_bModified && m_undo.AtSavedPosition()) {
        SetModified(false);
    }
    if (!m_bModified && !m_undo.AtSavedPosition()) {
        SetModified(true);
    }
}
