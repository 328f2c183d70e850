#include "buffer/undo_history.h"

#include <algorithm>
#include <stdexcept>

void UndoHistory::Clear()
{
    m_records.clear();
    m_lastGroupStart = 0;
    Reset();
}

void UndoHistory::Reset()
{
    m_position = 0;
    m_savedPosition = 0;
    m_limit = DefaultLimit;
    m_groupOpen = false;
    m_nextStartsGroup = false;
    m_groupRecorded = false;
}

void UndoHistory::ReserveRecord()
{
    if (m_records.size() == m_records.capacity()) {
        m_records.reserve(std::max<std::size_t>(16, 2 * m_records.capacity()));
    }
}

void UndoHistory::Record(UndoRecord record)
{
    DropRedoTail();
    if (RecordCount() >= m_limit) {
        DropOldestGroup();
    }
    record.flags &= ~static_cast<std::uint32_t>(UndoRecordFlag::GroupStart);
    if (m_nextStartsGroup || m_records.empty()) {
        record.flags |= UndoRecordFlag::GroupStart;
        m_nextStartsGroup = false;
        m_lastGroupStart = RecordCount();
    }
    m_records.push_back(std::move(record));
    m_position = RecordCount();
    m_groupRecorded = true;
}

const UndoRecord& UndoHistory::StepBack()
{
    if (!CanUndo()) {
        throw std::invalid_argument("no edit to undo");
    }
    --m_position;
    return m_records[static_cast<std::size_t>(m_position)];
}

const UndoRecord& UndoHistory::StepForward()
{
    if (!CanRedo()) {
        throw std::invalid_argument("no edit to redo");
    }
    ++m_position;
    return m_records[static_cast<std::size_t>(m_position - 1)];
}

bool UndoHistory::AtGroupBoundary() const
{
    const UndoRecord* next = NextToRedo();
    return next == nullptr || next->StartsGroup();
}

const UndoRecord* UndoHistory::LastApplied() const
{
    return CanUndo() ? &m_records[static_cast<std::size_t>(m_position - 1)] : nullptr;
}

const UndoRecord* UndoHistory::FirstOfUndoGroup() const
{
    for (std::int32_t index = m_position - 1; index >= 0; --index) {
        if (m_records[static_cast<std::size_t>(index)].StartsGroup() || index == 0) {
            return &m_records[static_cast<std::size_t>(index)];
        }
    }
    return nullptr;
}

const UndoRecord* UndoHistory::NextToRedo() const
{
    return CanRedo() ? &m_records[static_cast<std::size_t>(m_position)] : nullptr;
}

void UndoHistory::OpenGroup(UndoGroupMerge merge)
{
    m_groupOpen = true;
    m_groupRecorded = false;
    m_nextStartsGroup = !(merge == UndoGroupMerge::JoinPrevious && m_position > 0);
}

void UndoHistory::DropRedoTail()
{
    if (!CanRedo()) {
        return;
    }
    m_records.resize(static_cast<std::size_t>(m_position));
    while (m_lastGroupStart > 0 && (m_lastGroupStart >= RecordCount() || !m_records[static_cast<std::size_t>(m_lastGroupStart)].StartsGroup()))
        --m_lastGroupStart;
    // The saved text lay in the dropped tail; no undo or redo can return to it any more.
    if (m_savedPosition > m_position) {
        m_savedPosition = Unreachable;
    }
}

void UndoHistory::DropOldestGroup()
{
    // The group being recorded is never cut short: its undo would leave half a command in the text.
    // The list then holds more records than the limit until a later group starts.
    if (m_lastGroupStart == 0 && !m_nextStartsGroup)
        return;
    const auto nextGroup = std::find_if(m_records.begin() + 1, m_records.end(),
                                        [](const UndoRecord& record) { return record.StartsGroup(); });
    const auto dropped = static_cast<std::int32_t>(nextGroup - m_records.begin());
    m_records.erase(m_records.begin(), nextGroup);
    m_lastGroupStart = std::max(m_lastGroupStart - dropped, 0);
    m_position -= dropped;
    m_savedPosition = m_savedPosition >= dropped ? m_savedPosition - dropped : Unreachable;
}
