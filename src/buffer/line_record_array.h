#pragma once

#include "buffer/line_record.h"

#include <cstddef>
#include <cstdint>
#include <span>

// The contiguous array behind the line table. Its memory is mapped directly from the system and
// resized in place by remapping, so growing a table of millions of records neither copies them nor
// touches their pages again; only new pages are added.
class LineRecordArray {
public:
    LineRecordArray() = default;
    ~LineRecordArray();
    LineRecordArray(const LineRecordArray&) = delete;
    LineRecordArray& operator=(const LineRecordArray&) = delete;

    std::size_t Size() const { return m_size; }
    std::size_t Capacity() const { return m_capacity; }
    LineRecord* begin() { return m_records; }
    LineRecord* end() { return m_records + m_size; }
    LineRecord& operator[](std::size_t index) { return m_records[index]; }
    const LineRecord& operator[](std::size_t index) const { return m_records[index]; }

    // Makes room for at least capacity records (or gives back room beyond the size when smaller).
    // Throws std::bad_alloc when the system refuses.
    void Reserve(std::size_t capacity);
    void PushBack(const LineRecord& record);
    // Inserts the records before index; the capacity must already hold them.
    void Insert(std::size_t index, std::span<const LineRecord> records);
    void Erase(std::size_t first, std::size_t count);
    // Empties the array and gives its memory back.
    void Release();

private:
    LineRecord* m_records = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    std::size_t m_mappedBytes = 0;
};
