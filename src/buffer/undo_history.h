#pragma once

#include "buffer/undo_record.h"

#include <cstdint>
#include <vector>

enum class UndoGroupMerge { NewGroup, JoinPrevious };

// The undo list of a buffer: the records, how many of them are applied (the undo position), the
// position at which the text was last saved, and the grouping state. It only keeps the books; the
// buffer replays the records.
class UndoHistory {
public:
    static constexpr std::int32_t DefaultLimit = 1024;

    // Forgets every record.
    void Clear();
    // Fresh text: nothing applied, saved at position 0, no group open, limit restored.
    void Reset();

    // Makes room for one more record, so that the Record that follows cannot fail.
    void ReserveRecord();
    // Appends a record after dropping the redo tail and, at the limit, the oldest group.
    void Record(UndoRecord record);

    bool CanUndo() const { return m_position > 0; }
    bool CanRedo() const { return m_position < RecordCount(); }
    std::int32_t RecordCount() const { return static_cast<std::int32_t>(m_records.size()); }

    // Moves the undo position one record back and returns that record. Throws std::invalid_argument
    // when nothing is applied.
    const UndoRecord& StepBack();
    // Returns the record at the undo position and moves past it. Throws std::invalid_argument when
    // there is no redo tail.
    const UndoRecord& StepForward();
    // True when the record at the undo position starts a group or no record follows.
    bool AtGroupBoundary() const;

    // The record just before the undo position; null when nothing is applied.
    const UndoRecord* LastApplied() const;
    // The first record of the group that ends at the undo position; null when nothing is applied.
    const UndoRecord* FirstOfUndoGroup() const;
    // The record at the undo position; null when there is no redo tail.
    const UndoRecord* NextToRedo() const;

    void MarkSaved() { m_savedPosition = m_position; }
    bool AtSavedPosition() const { return m_savedPosition == m_position; }

    void OpenGroup(UndoGroupMerge merge);
    void CloseGroup() { m_groupOpen = false; }
    bool IsGroupOpen() const { return m_groupOpen; }
    // Whether the open group received a record since it was opened.
    bool GroupRecorded() const { return m_groupRecorded; }
    // The next record begins a group of its own, inside the open group.
    void StartNewGroup() { m_nextStartsGroup = true; }

private:
    void DropRedoTail();
    void DropOldestGroup();

    // No undo position equals this, so the saved state counts as lost.
    static constexpr std::int32_t Unreachable = -1;

    std::vector<UndoRecord> m_records;
    std::int32_t m_position = 0;
    std::int32_t m_savedPosition = 0;
    std::int32_t m_limit = DefaultLimit;
    bool m_groupOpen = false;
    bool m_nextStartsGroup = false;
    bool m_groupRecorded = false;
    // Index of the newest record that starts a group: while it is 0 and its group goes on, there is
    // no older group to drop, and no scan needs to look for one.
    std::int32_t m_lastGroupStart = 0;
};
