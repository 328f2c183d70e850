#include "views/line_value_cache.h"

#include <algorithm>

void LineValueCache::EnsureExists(int lineCount)
{
    if (m_exists)
        return;
    m_values.assign(static_cast<std::size_t>(std::max(lineCount, 0)), NotComputed);
    m_exists = true;
}

void LineValueCache::Discard()
{
    m_values.clear();
    m_values.shrink_to_fit();
    m_exists = false;
}

std::uint32_t LineValueCache::Get(int line) const
{
    return Contains(line) ? m_values[static_cast<std::size_t>(line)] : NotComputed;
}

void LineValueCache::Set(int line, std::uint32_t value)
{
    if (Contains(line))
        m_values[static_cast<std::size_t>(line)] = value;
}

void LineValueCache::InvalidateFrom(int firstLine)
{
    const auto first = static_cast<std::size_t>(std::clamp(firstLine, 0, Size()));
    std::fill(m_values.begin() + static_cast<std::ptrdiff_t>(first), m_values.end(), NotComputed);
}

void LineValueCache::Invalidate(int line)
{
    Set(line, NotComputed);
}

void LineValueCache::Refit(int lineCount, int firstLine)
{
    if (!m_exists)
        return;
    m_values.resize(static_cast<std::size_t>(std::max(lineCount, 0)), NotComputed);
    InvalidateFrom(firstLine);
}
