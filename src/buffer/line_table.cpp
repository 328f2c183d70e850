#include "buffer/line_table.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t LoadedGrowthStep = 4096;

}  // namespace

LineTable::~LineTable()
{
    Clear();
}

void LineTable::Clear()
{
    for (LineRecord& record : m_lines) {
        if (record.capacity > LineStorage::LargestPooledCapacity) {
            FreeRecord(record);
        }
    }
    m_lines.Release();
    m_storage.Clear();
    m_mayHoldTabs = false;
}

void LineTable::NoteText(std::string_view text)
{
    if (!m_mayHoldTabs && text.find('\t') != std::string_view::npos)
        m_mayHoldTabs = true;
}

void LineTable::AppendLine(std::string_view text)
{
    ReserveFor(1);
    m_lines.PushBack(MakeRecord(text));
}

void LineTable::InsertLines(std::int32_t index, std::span<const std::string_view> texts)
{
    ReserveFor(texts.size());
    std::vector<LineRecord> records;
    records.reserve(texts.size());
    try {
        for (std::string_view text : texts) {
            records.push_back(MakeRecord(text));
        }
    } catch (...) {
        for (LineRecord& record : records) {
            FreeRecord(record);
        }
        throw;
    }
    m_lines.Insert(static_cast<std::size_t>(index), records);
}

void LineTable::RemoveLines(std::int32_t first, std::int32_t count)
{
    for (std::int32_t line = first; line < first + count; ++line) {
        FreeRecord((*this)[line]);
    }
    m_lines.Erase(static_cast<std::size_t>(first), static_cast<std::size_t>(count));
}

void LineTable::AppendChars(std::int32_t index, std::string_view text)
{
    if (text.empty()) {
        return;
    }
    NoteText(text);
    LineRecord& line = (*this)[index];
    const std::size_t newLength = static_cast<std::size_t>(line.length) + text.size();
    if (newLength <= static_cast<std::size_t>(line.capacity)) {
        std::memmove(line.characters + line.length, text.data(), text.size());
    } else {
        const std::int32_t capacity = LineCapacityFor(newLength);
        char* characters = m_storage.Allocate(capacity);
        std::memcpy(characters, line.characters, static_cast<std::size_t>(line.length));
        std::memcpy(characters + line.length, text.data(), text.size());
        m_storage.Release(line.characters, line.capacity);
        line.characters = characters;
        line.capacity = capacity;
    }
    line.length = static_cast<std::int32_t>(newLength);
}

void LineTable::ReserveChars(std::int32_t index, std::size_t length)
{
    LineRecord& line = (*this)[index];
    if (length <= static_cast<std::size_t>(line.capacity)) {
        return;
    }
    const std::int32_t capacity = LineCapacityFor(length);
    char* characters = m_storage.Allocate(capacity);
    std::memcpy(characters, line.characters, static_cast<std::size_t>(line.length));
    m_storage.Release(line.characters, line.capacity);
    line.characters = characters;
    line.capacity = capacity;
}

void LineTable::TruncateLine(std::int32_t index, std::int32_t length)
{
    LineRecord& line = (*this)[index];
    line.length = std::min(line.length, length);
}

void LineTable::BeginLoading()
{
    m_loadedOnce = true;
    m_loading = true;
}

void LineTable::EndLoading()
{
    m_loading = false;
    m_lines.Reserve(m_lines.Size());
}

LineRecord LineTable::MakeRecord(std::string_view text)
{
    NoteText(text);
    LineRecord record;
    record.capacity = LineCapacityFor(text.size());
    record.characters = m_storage.Allocate(record.capacity);
    if (!text.empty()) {
        std::memcpy(record.characters, text.data(), text.size());
    }
    record.length = static_cast<std::int32_t>(text.size());
    return record;
}

void LineTable::FreeRecord(LineRecord& record)
{
    m_storage.Release(record.characters, record.capacity);
    record.characters = nullptr;
    record.capacity = 0;
    record.length = 0;
}

void LineTable::ReserveFor(std::size_t additional)
{
    const std::size_t needed = m_lines.Size() + additional;
    const std::size_t capacity = m_lines.Capacity();
    if (needed <= capacity) {
        return;
    }
    std::size_t step = std::clamp<std::size_t>(capacity / 8, 4, 1024);
    if (m_loading) {
        step = std::max<std::size_t>(capacity, LoadedGrowthStep);
    } else if (m_loadedOnce) {
        step = LoadedGrowthStep;
    }
    m_lines.Reserve(std::max(needed, capacity + step));
}
