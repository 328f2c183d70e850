#include "buffer/line_table.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr std::size_t LoadedGrowthStep = 4096;

}  // namespace

void LineTable::Clear()
{
    m_lines.clear();
}

void LineTable::AppendLine(std::string_view text)
{
    ReserveFor(1);
    m_lines.push_back(MakeLineRecord(text));
}

void LineTable::InsertLines(std::int32_t index, std::span<const std::string_view> texts)
{
    std::vector<LineRecord> records;
    records.reserve(texts.size());
    for (std::string_view text : texts) {
        records.push_back(MakeLineRecord(text));
    }
    ReserveFor(records.size());
    m_lines.insert(m_lines.begin() + index, std::make_move_iterator(records.begin()),
                   std::make_move_iterator(records.end()));
}

void LineTable::RemoveLines(std::int32_t first, std::int32_t count)
{
    const auto begin = m_lines.begin() + first;
    m_lines.erase(begin, begin + count);
}

void LineTable::BeginLoading()
{
    m_loadedOnce = true;
    m_loading = true;
}

void LineTable::EndLoading()
{
    m_loading = false;
    m_lines.shrink_to_fit();
}

void LineTable::ReserveFor(std::size_t additional)
{
    const std::size_t needed = m_lines.size() + additional;
    const std::size_t capacity = m_lines.capacity();
    if (needed <= capacity) {
        return;
    }
    std::size_t step = std::clamp<std::size_t>(capacity / 8, 4, 1024);
    if (m_loading) {
        step = std::max<std::size_t>(capacity, LoadedGrowthStep);
    } else if (m_loadedOnce) {
        step = LoadedGrowthStep;
    }
    m_lines.reserve(std::max(needed, capacity + step));
}
