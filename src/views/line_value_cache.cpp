#include "views/line_value_cache.h"

#include <algorithm>

void LineValueCache::EnsureExists(int lineCount)
{
    if (m_exists)
        return;
    m_values.assign(static_cast<std::size_t>(std::max(lineCount, 0)), NotComputed);
    m_validCount = 0;
    m_exists = true;
}

void LineValueCache::Discard()
{
    m_values.clear();
    m_values.shrink_to_fit();
    m_validCount = 0;
    m_exists = false;
}

std::uint32_t LineValueCache::Get(int line) const
{
    return Contains(line) && line < m_validCount ? m_values[static_cast<std::size_t>(line)] : NotComputed;
}

void LineValueCache::Set(int line, std::uint32_t value)
{
    if (!Contains(line))
        return;
    if (line >= m_validCount) {
        std::fill(m_values.begin() + m_validCount, m_values.begin() + line, NotComputed);
        m_validCount = line + 1;
    }
    m_values[static_cast<std::size_t>(line)] = value;
}

void LineValueCache::InvalidateFrom(int firstLine)
{
    m_validCount = std::min(m_validCount, std::clamp(firstLine, 0, Size()));
}

void LineValueCache::Invalidate(int line)
{
    if (line < m_validCount)
        Set(line, NotComputed);
}

void LineValueCache::Refit(int lineCount, int firstLine)
{
    if (!m_exists)
        return;
    m_values.resize(static_cast<std::size_t>(std::max(lineCount, 0)), NotComputed);
    m_validCount = std::min(m_validCount, Size());
    InvalidateFrom(firstLine);
}
