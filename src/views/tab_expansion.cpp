#include "views/tab_expansion.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tab_expansion {

namespace {

constexpr char Tab = '\t';

int ClampedIndex(std::string_view line, int index)
{
    return std::clamp(index, 0, static_cast<int>(line.size()));
}

// Whether the eight bytes at `bytes` are ASCII without a tab, so each takes one column.
bool EightPlainBytes(const char* bytes)
{
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    constexpr std::uint64_t Ones = 0x0101010101010101u;
    constexpr std::uint64_t HighBits = 0x8080808080808080u;
    const std::uint64_t tabsCleared = word ^ (Ones * static_cast<unsigned char>(Tab));
    // A byte that was a tab is zero now; the usual test for a zero byte among eight.
    const bool hasTab = ((tabsCleared - Ones) & ~tabsCleared & HighBits) != 0;
    return (word & HighBits) == 0 && !hasTab;
}

} // namespace

int CharacterStartFrom(std::string_view line, int index, TextEncoding encoding)
{
    const int start = utf8::CharacterStart(line, index, encoding);
    return start == index ? index : utf8::NextCharacter(line, start, encoding);
}

int NextColumn(int column, char byte, int tabSize)
{
    if (byte != Tab)
        return column + 1;
    return column + tabSize - column % tabSize;
}

int ColumnAfterCharacter(std::string_view line, int index, int column, int tabSize, TextEncoding encoding)
{
    if (line[static_cast<std::size_t>(index)] == Tab)
        return NextColumn(column, Tab, tabSize);
    return column + utf8::CharacterCells(line, index, encoding);
}

int ColumnOfIndex(std::string_view line, int index, int tabSize, TextEncoding encoding)
{
    const int end = ClampedIndex(line, index);
    int column = 0;
    for (int position = 0; position < end;) {
        // ASCII is the common case and needs no decoding; the widest line is measured over the
        // whole text, eight bytes at a time where it can.
        if (end - position >= 8 && EightPlainBytes(line.data() + position)) {
            column += 8;
            position += 8;
            continue;
        }
        const char byte = line[static_cast<std::size_t>(position)];
        if (static_cast<unsigned char>(byte) < 0x80) {
            column = NextColumn(column, byte, tabSize);
            ++position;
            continue;
        }
        column = ColumnAfterCharacter(line, position, column, tabSize, encoding);
        position = utf8::NextCharacter(line, position, encoding);
    }
    return column;
}

int IndexAtColumn(std::string_view line, int column, int tabSize, TextEncoding encoding)
{
    if (column <= 0 || line.empty())
        return 0;
    int endColumn = 0;
    const int length = static_cast<int>(line.size());
    for (int index = 0; index < length; index = utf8::NextCharacter(line, index, encoding)) {
        endColumn = ColumnAfterCharacter(line, index, endColumn, tabSize, encoding);
        if (endColumn < column)
            continue;
        const bool entered = line[static_cast<std::size_t>(index)] == Tab ? column <= endColumn - tabSize / 2
                                                                           : column < endColumn;
        return entered ? index : utf8::NextCharacter(line, index, encoding);
    }
    return length;
}

int IndexCoveringColumn(std::string_view line, int column, int tabSize, TextEncoding encoding)
{
    int endColumn = 0;
    const int length = static_cast<int>(line.size());
    for (int index = 0; index < length; index = utf8::NextCharacter(line, index, encoding)) {
        endColumn = ColumnAfterCharacter(line, index, endColumn, tabSize, encoding);
        if (endColumn > column)
            return index;
    }
    return length;
}

std::string ExpandTabs(std::string_view line, int offset, int count, int tabSize, TextEncoding encoding)
{
    const int begin = CharacterStartFrom(line, ClampedIndex(line, offset), encoding);
    const int end = CharacterStartFrom(line, ClampedIndex(line, offset + std::max(count, 0)), encoding);
    std::string expanded;
    if (end <= begin)
        return expanded;
    int column = ColumnOfIndex(line, begin, tabSize, encoding);
    expanded.reserve(static_cast<std::size_t>(end - begin));
    for (int index = begin; index < end; index = utf8::NextCharacter(line, index, encoding)) {
        const int next = ColumnAfterCharacter(line, index, column, tabSize, encoding);
        const int length = utf8::CharacterLength(line, index, encoding);
        if (line[static_cast<std::size_t>(index)] == Tab)
            expanded.append(static_cast<std::size_t>(next - column), ' ');
        else if (encoding == TextEncoding::Utf8 && !utf8::DecodeAt(line, static_cast<std::size_t>(index)).valid)
            expanded += utf8::Encode(utf8::ReplacementCharacter);
        else
            expanded.append(line.substr(static_cast<std::size_t>(index), static_cast<std::size_t>(length)));
        column = next;
    }
    return expanded;
}

} // namespace tab_expansion
