#include "views/tab_expansion.h"

#include <algorithm>

namespace tab_expansion {

namespace {

constexpr char Tab = '\t';

int ClampedIndex(std::string_view line, int index)
{
    return std::clamp(index, 0, static_cast<int>(line.size()));
}

} // namespace

int NextColumn(int column, char byte, int tabSize)
{
    if (byte != Tab)
        return column + 1;
    return column + tabSize - column % tabSize;
}

int ColumnOfIndex(std::string_view line, int index, int tabSize)
{
    const int end = ClampedIndex(line, index);
    int column = 0;
    for (int position = 0; position < end; ++position)
        column = NextColumn(column, line[static_cast<std::size_t>(position)], tabSize);
    return column;
}

int IndexAtColumn(std::string_view line, int column, int tabSize)
{
    if (column <= 0 || line.empty())
        return 0;
    int endColumn = 0;
    for (std::size_t index = 0; index < line.size(); ++index) {
        endColumn = NextColumn(endColumn, line[index], tabSize);
        if (endColumn < column)
            continue;
        const bool inFirstPart = column <= endColumn - tabSize / 2;
        return static_cast<int>(inFirstPart ? index : index + 1);
    }
    return static_cast<int>(line.size());
}

std::string ExpandTabs(std::string_view line, int offset, int count, int tabSize)
{
    const int begin = ClampedIndex(line, offset);
    const int end = ClampedIndex(line, begin + std::max(count, 0));
    std::string expanded;
    if (end <= begin)
        return expanded;
    int column = ColumnOfIndex(line, begin, tabSize);
    expanded.reserve(static_cast<std::size_t>(end - begin));
    for (int index = begin; index < end; ++index) {
        const char byte = line[static_cast<std::size_t>(index)];
        const int next = NextColumn(column, byte, tabSize);
        if (byte == Tab)
            expanded.append(static_cast<std::size_t>(next - column), ' ');
        else
            expanded.push_back(byte);
        column = next;
    }
    return expanded;
}

} // namespace tab_expansion
