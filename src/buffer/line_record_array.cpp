#include "buffer/line_record_array.h"

#include "buffer/mapped_memory.h"

#include <cstring>
#include <type_traits>

static_assert(std::is_trivially_copyable_v<LineRecord>, "records are moved as bytes");

LineRecordArray::~LineRecordArray()
{
    Release();
}

void LineRecordArray::Reserve(std::size_t capacity)
{
    if (capacity < m_size) {
        capacity = m_size;
    }
    const std::size_t bytes = PageRounded(capacity * sizeof(LineRecord));
    if (bytes == m_mappedBytes) {
        return;
    }
    if (bytes == 0) {
        Release();
        return;
    }
    if (m_records == nullptr) {
        m_records = static_cast<LineRecord*>(MapMemory(bytes));
        m_mappedBytes = bytes;
        m_capacity = bytes / sizeof(LineRecord);
        return;
    }
    const std::size_t newCapacity = bytes / sizeof(LineRecord);
    const bool shrinking = newCapacity < m_capacity;
    if (shrinking) {
        // The room given back is at the end of the block, so the gap goes there first.
        MoveGapTo(m_size);
    }
    const std::size_t tailStart = m_gapStart + GapLength();
    const std::size_t tailCount = m_capacity - tailStart;
    m_records = static_cast<LineRecord*>(RemapMemory(m_records, m_mappedBytes, bytes));
    m_mappedBytes = bytes;
    m_capacity = newCapacity;
    if (!shrinking) {
        // The new room is at the end of the block: the records behind the gap move there.
        std::memmove(m_records + m_capacity - tailCount, m_records + tailStart, tailCount * sizeof(LineRecord));
    }
}

void LineRecordArray::PushBack(const LineRecord& record)
{
    Insert(m_size, std::span<const LineRecord>(&record, 1));
}

void LineRecordArray::Insert(std::size_t index, std::span<const LineRecord> records)
{
    if (records.empty()) {
        return;
    }
    if (m_size + records.size() > m_capacity) {
        Reserve(m_size + records.size());
    }
    MoveGapTo(index);
    std::memcpy(m_records + m_gapStart, records.data(), records.size() * sizeof(LineRecord));
    m_gapStart += records.size();
    m_size += records.size();
}

void LineRecordArray::Erase(std::size_t first, std::size_t count)
{
    MoveGapTo(first);
    m_size -= count;
}

void LineRecordArray::Release()
{
    if (m_records != nullptr) {
        UnmapMemory(m_records, m_mappedBytes);
    }
    m_records = nullptr;
    m_size = 0;
    m_capacity = 0;
    m_gapStart = 0;
    m_mappedBytes = 0;
}

void LineRecordArray::MoveGapTo(std::size_t position)
{
    const std::size_t gapLength = GapLength();
    if (position < m_gapStart) {
        std::memmove(m_records + position + gapLength, m_records + position, (m_gapStart - position) * sizeof(LineRecord));
    } else if (position > m_gapStart) {
        std::memmove(m_records + m_gapStart, m_records + m_gapStart + gapLength, (position - m_gapStart) * sizeof(LineRecord));
    }
    m_gapStart = position;
}
