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
    void* memory = m_records == nullptr ? MapMemory(bytes) : RemapMemory(m_records, m_mappedBytes, bytes);
    m_records = static_cast<LineRecord*>(memory);
    m_mappedBytes = bytes;
    m_capacity = bytes / sizeof(LineRecord);
}

void LineRecordArray::PushBack(const LineRecord& record)
{
    if (m_size == m_capacity) {
        Reserve(m_capacity + 1);
    }
    m_records[m_size++] = record;
}

void LineRecordArray::Insert(std::size_t index, std::span<const LineRecord> records)
{
    if (records.empty()) {
        return;
    }
    if (m_size + records.size() > m_capacity) {
        Reserve(m_size + records.size());
    }
    std::memmove(m_records + index + records.size(), m_records + index, (m_size - index) * sizeof(LineRecord));
    std::memcpy(m_records + index, records.data(), records.size() * sizeof(LineRecord));
    m_size += records.size();
}

void LineRecordArray::Erase(std::size_t first, std::size_t count)
{
    std::memmove(m_records + first, m_records + first + count, (m_size - first - count) * sizeof(LineRecord));
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
    m_mappedBytes = 0;
}
