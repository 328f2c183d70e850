#pragma once

#include "buffer/line_record.h"
#include "buffer/line_record_array.h"
#include "buffer/line_storage.h"

#include <cstdint>
#include <span>
#include <string_view>

// The contiguous table of lines of a buffer. It owns the records and their character arrays.
//
// Growth: until the first file is loaded the table grows by an eighth of its size (4 to 1024
// records at a time); from then on by 4096 records. While a file is being loaded it grows
// geometrically and is trimmed afterwards, so that a file of millions of lines takes few resizes.
class LineTable {
public:
    LineTable() = default;
    ~LineTable();
    LineTable(const LineTable&) = delete;
    LineTable& operator=(const LineTable&) = delete;

    std::int32_t Count() const { return static_cast<std::int32_t>(m_lines.Size()); }
    LineRecord& operator[](std::int32_t index) { return m_lines[static_cast<std::size_t>(index)]; }
    const LineRecord& operator[](std::int32_t index) const { return m_lines[static_cast<std::size_t>(index)]; }

    // Frees every line and the table itself.
    void Clear();

    void AppendLine(std::string_view text);
    // Inserts one new line per text before index, in one move of the records between them and the
    // last edit.
    void InsertLines(std::int32_t index, std::span<const std::string_view> texts);
    void RemoveLines(std::int32_t first, std::int32_t count);

    // Appends text to a line; the array grows only when the text does not fit. text may lie in the
    // line's own array.
    void AppendChars(std::int32_t index, std::string_view text);
    // Makes the line's array hold at least `length` bytes, keeping its text, so that appending up to
    // that length cannot fail.
    void ReserveChars(std::int32_t index, std::size_t length);
    // Cuts a line to the given length; its array keeps its size.
    void TruncateLine(std::int32_t index, std::int32_t length);

    void BeginLoading();
    void EndLoading();

    // Whether a text that entered the table held a tab. It stays set until the table is cleared,
    // though every tab may have been deleted since.
    bool MayHoldTabs() const { return m_mayHoldTabs; }

private:
    void NoteText(std::string_view text);
    // New lines start without flags. Throws std::length_error for a text longer than a line can be.
    LineRecord MakeRecord(std::string_view text);
    void FreeRecord(LineRecord& record);
    void ReserveFor(std::size_t additional);

    LineStorage m_storage;
    LineRecordArray m_lines;
    bool m_loadedOnce = false;
    bool m_loading = false;
    bool m_mayHoldTabs = false;
};
