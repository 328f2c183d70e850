#pragma once

#include "buffer/line_record.h"

#include <cstddef>
#include <cstdint>
#include <span>

// The array behind the line table, kept as a gap buffer: the free room sits where the last edit
// was, so a run of line inserts or deletes near one place moves only the records between the old
// and the new place of the gap, not every record behind it. Loading appends with the gap at the
// end. Its memory is mapped directly from the system and resized in place by remapping, so growing
// a table of millions of records neither copies them nor touches their pages again.
class LineRecordArray {
public:
    // Walks the records in order, stepping over the gap.
    class Iterator {
    public:
        Iterator(LineRecordArray& array, std::size_t index) : m_array(&array), m_index(index) {}
        LineRecord& operator*() const { return (*m_array)[m_index]; }
        Iterator& operator++()
        {
            ++m_index;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_index == other.m_index; }

    private:
        LineRecordArray* m_array;
        std::size_t m_index;
    };

    LineRecordArray() = default;
    ~LineRecordArray();
    LineRecordArray(const LineRecordArray&) = delete;
    LineRecordArray& operator=(const LineRecordArray&) = delete;

    std::size_t Size() const { return m_size; }
    std::size_t Capacity() const { return m_capacity; }
    Iterator begin() { return Iterator(*this, 0); }
    Iterator end() { return Iterator(*this, m_size); }
    LineRecord& operator[](std::size_t index) { return m_records[StoredIndex(index)]; }
    const LineRecord& operator[](std::size_t index) const { return m_records[StoredIndex(index)]; }

    // Makes room for at least capacity records (or gives back room beyond the size when smaller).
    // Throws std::bad_alloc when the system refuses, leaving the array as it was.
    void Reserve(std::size_t capacity);
    void PushBack(const LineRecord& record);
    // Inserts the records before index, growing first when the capacity does not hold them.
    void Insert(std::size_t index, std::span<const LineRecord> records);
    void Erase(std::size_t first, std::size_t count);
    // Empties the array and gives its memory back.
    void Release();

private:
    std::size_t GapLength() const { return m_capacity - m_size; }
    std::size_t StoredIndex(std::size_t index) const { return index < m_gapStart ? index : index + GapLength(); }
    // Moves the records between the gap and position across it, so that the gap starts at position.
    void MoveGapTo(std::size_t position);

    LineRecord* m_records = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    std::size_t m_gapStart = 0;
    std::size_t m_mappedBytes = 0;
};
