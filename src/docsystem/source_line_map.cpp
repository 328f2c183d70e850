#include "docsystem/source_line_map.h"

#include <algorithm>
#include <numeric>

std::size_t LineBreakCount(std::string_view text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

SourceLineMap::SourceLineMap(std::string_view originalText) : originalLines_(LineBreakCount(originalText) + 1)
{
    std::iota(originalLines_.begin(), originalLines_.end(), 1);
}

void SourceLineMap::RemoveLines(std::size_t firstLine, std::size_t count)
{
    const std::size_t first = std::min(firstLine, originalLines_.size());
    const std::size_t last = std::min(first + count, originalLines_.size());
    originalLines_.erase(originalLines_.begin() + static_cast<std::ptrdiff_t>(first),
                         originalLines_.begin() + static_cast<std::ptrdiff_t>(last));
}

void SourceLineMap::ReplaceLineBreaks(std::size_t line, std::size_t removed, std::size_t added)
{
    if (line >= originalLines_.size())
        return;
    RemoveLines(line + 1, removed);
    const std::int32_t origin = originalLines_[line];
    originalLines_.insert(originalLines_.begin() + static_cast<std::ptrdiff_t>(line + 1), added, origin);
}

std::int32_t SourceLineMap::OriginalLine(std::int32_t preparedLine) const
{
    if (preparedLine < 1 || static_cast<std::size_t>(preparedLine) > originalLines_.size())
        return 0;
    return originalLines_[static_cast<std::size_t>(preparedLine - 1)];
}
