#pragma once

#include <string>
#include <string_view>

// Column arithmetic of a text line: every byte takes one cell, except a tab, which reaches the
// next tab stop. All column rules of the views go through here, so that the byte-to-cell mapping
// lives in one place.
namespace tab_expansion {

// The column after `byte` when it starts at `column`.
int NextColumn(int column, char byte, int tabSize);

// The column reached after the first `index` bytes of `line` (0 when `index` < 1; an index past
// the end counts the whole line).
int ColumnOfIndex(std::string_view line, int index, int tabSize);

// The index of the byte shown at `column`; a tab is entered only when the column lies in its first
// part. 0 for column 0 or an empty line; the line length when no byte reaches the column.
int IndexAtColumn(std::string_view line, int column, int tabSize);

// The bytes [offset, offset + count) of `line` with each tab replaced by blanks up to the next tab
// stop; tab stops are counted in the line's own columns, so the bytes before `offset` matter.
std::string ExpandTabs(std::string_view line, int offset, int count, int tabSize);

} // namespace tab_expansion
