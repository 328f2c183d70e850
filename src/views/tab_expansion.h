#pragma once

#include "utils/utf8_characters.h"

#include <string>
#include <string_view>

// Column arithmetic of a text line: a character takes one cell (two for an East Asian wide one in
// a UTF-8 text), except a tab, which reaches the next tab stop. All column rules of the views go
// through here, so that the byte-to-cell mapping lives in one place; where a character starts and
// ends comes from utf8_characters. An index inside a character counts as the end of it.
namespace tab_expansion {

// The column after `byte` when it starts at `column`, in a legacy text.
int NextColumn(int column, char byte, int tabSize);

// The first character start at or after `index`.
int CharacterStartFrom(std::string_view line, int index, TextEncoding encoding);

// The column after the character at `index` of `line` when it starts at `column`.
int ColumnAfterCharacter(std::string_view line, int index, int column, int tabSize, TextEncoding encoding);

// The column reached after the characters that start before `index` (0 when `index` < 1; an index
// past the end counts the whole line).
int ColumnOfIndex(std::string_view line, int index, int tabSize, TextEncoding encoding);

// The index of the character shown at `column`; a tab is entered only when the column lies in its
// first part, a wide character when the column is its first cell. 0 for column 0 or an empty line;
// the line length when no character reaches the column.
int IndexAtColumn(std::string_view line, int column, int tabSize, TextEncoding encoding);

// The index of the character that covers `column` (the first one ending after it); the line length
// when none does. This is how a point on the screen is read.
int IndexCoveringColumn(std::string_view line, int column, int tabSize, TextEncoding encoding);

// The characters that start in [offset, offset + count) of `line` with each tab replaced by blanks
// up to the next tab stop; tab stops are counted in the line's own columns, so the characters before
// `offset` matter. In a UTF-8 text an invalid byte becomes the replacement character.
std::string ExpandTabs(std::string_view line, int offset, int count, int tabSize, TextEncoding encoding);

} // namespace tab_expansion
