#include "buffer/quill_text_buffer.h"

#include "buffer/inserted_text_lines.h"
#include "buffer/undo_action.h"
#include "utils/string_table.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

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
    // A group that recorded nothing tells nobody: the last record belongs to an earlier command,
    // whose follow-up (an automatic indentation) must not run again.
    const UndoRecord* last = m_undo.LastApplied();
    if (source != nullptr && last != nullptr && m_undo.GroupRecorded()) {
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
    if (!m_undo.CanUndo()) {
        throw std::invalid_argument("no edit to undo");
    }
    // Each record is replayed and then passed; a replay that fails leaves text and list in step.
    try {
        while (true) {
            const UndoRecord& record = *m_undo.LastApplied();
            caret = ReplayUndo(record);
            if (record.StartsGroup() || !m_undo.CanUndo()) {
                break;
            }
        }
    } catch (...) {
        SyncModifiedWithSavedPosition();
        throw;
    }
    SyncModifiedWithSavedPosition();
    return true;
}

bool CQuillTextBuffer::Redo(TextPosition& caret)
{
    if (!m_undo.CanRedo()) {
        throw std::invalid_argument("no edit to redo");
    }
    try {
        do {
            caret = ReplayRedo(*m_undo.NextToRedo());
        } while (!m_undo.AtGroupBoundary());
    } catch (...) {
        SyncModifiedWithSavedPosition();
        throw;
    }
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

TextPosition CQuillTextBuffer::ReplayUndo(const UndoRecord& record)
{
    const TextPosition start = record.start;
    const TextPosition end = record.end;
    if (record.IsInsertion()) {
        RemoveRange(start, end);
        m_undo.StepBack();
        AnnounceDeletion(nullptr, start, end);
        return start;
    }
    InsertPieces(start, RemovedPieces(record));
    m_undo.StepBack();
    AnnounceInsertion(nullptr, start, end);
    return end;
}

TextPosition CQuillTextBuffer::ReplayRedo(const UndoRecord& record)
{
    const TextPosition start = record.start;
    const TextPosition end = record.end;
    if (record.IsInsertion()) {
        InsertPieces(start, SplitInsertedText(record.text));
        m_undo.StepForward();
        AnnounceInsertion(nullptr, start, end);
        return end;
    }
    RemoveRange(start, end);
    m_undo.StepForward();
    AnnounceDeletion(nullptr, start, end);
    return start;
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
