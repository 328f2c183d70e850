#pragma once

#include "buffer/line_record.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// The contiguous table of lines of a buffer. It owns the records, and each record owns its bytes.
//
// Growth: until the first file is loaded the table grows by an eighth of its size (4 to 1024
// records at a time); from then on by 4096 records. While a file is being loaded it grows
// geometrically and is trimmed afterwards, because a fixed step would copy the table once per step
// and make loading a large file quadratic.
class LineTable {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(m_lines.size()); }
    LineRecord& operator[](std::int32_t index) { return m_lines[static_cast<std::size_t>(index)]; }
    const LineRecord& operator[](std::int32_t index) const { return m_lines[static_cast<std::size_t>(index)]; }

    // Frees every line; the growth policy stays.
    void Clear();

    void AppendLine(std::string_view text);

    // Inserts one new line per text before index, in one move of the records behind them.
    void InsertLines(std::int32_t index, std::span<const std::string_view> texts);

    void RemoveLines(std::int32_t first, std::int32_t count);

    void BeginLoading();
    void EndLoading();

    // Bytes the table itself holds (not the lines' arrays), for memory accounting.
    std::size_t TableCapacityBytes() const { return m_lines.capacity() * sizeof(LineRecord); }

private:
    void ReserveFor(std::size_t additional);

    std::vector<LineRecord> m_lines;
    bool m_loadedOnce = false;
    bool m_loading = false;
};
