#pragma once

#include <cstdint>
#include <vector>

// One cached unsigned value per line (a parse state, an expanded length), with all-ones marking a
// value that is not computed. The array is made on first use; until then nothing is cached.
// Everything from the first line of an invalidation on counts as not computed without being
// touched, so that many edits far up in a long text (a Replace All, its Undo) cost nothing each; a
// value set farther down clears the gap first.
class LineValueCache {
public:
    static constexpr std::uint32_t NotComputed = 0xFFFFFFFFu;

    bool Exists() const { return m_exists; }
    int Size() const { return static_cast<int>(m_values.size()); }

    // Creates the array with `lineCount` entries, none computed, unless it exists already.
    void EnsureExists(int lineCount);
    // Drops the array; the next use makes it anew.
    void Discard();

    // NotComputed for a line outside the array.
    std::uint32_t Get(int line) const;
    // Ignored for a line outside the array.
    void Set(int line, std::uint32_t value);

    // Marks the entries from `firstLine` to the end as not computed.
    void InvalidateFrom(int firstLine);
    void Invalidate(int line);
    // Fits an existing array to a new line count, keeping the entries before `firstLine`, then marks
    // everything from `firstLine` on as not computed.
    void Refit(int lineCount, int firstLine);

private:
    bool Contains(int line) const { return line >= 0 && line < Size(); }

    bool m_exists = false;
    std::vector<std::uint32_t> m_values;
    // Entries from here on are not computed, whatever they hold.
    int m_validCount = 0;
};
