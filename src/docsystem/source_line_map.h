#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Which line of the user's file each line of a prepared source came from. The preparation removes
// and inserts lines (conditional sections, the preamble, entities with line breaks); the lines of a
// LaTeX log count in the prepared text and are mapped back through this. Lines are counted by line
// feeds, as TeX counts them for LF and CR LF files alike.
class SourceLineMap {
public:
    // The map of a text that is still as the user wrote it: every line is itself.
    explicit SourceLineMap(std::string_view originalText = {});

    // The prepared lines firstLine .. firstLine + count - 1 (0-based) are gone.
    void RemoveLines(std::size_t firstLine, std::size_t count);

    // An edit on prepared line `line` (0-based) took `removed` line breaks out and put `added` in:
    // the lines it joined are gone, and the lines it added come from the same original line.
    void ReplaceLineBreaks(std::size_t line, std::size_t removed, std::size_t added);

    // The original line (1-based) of a prepared line (1-based); 0 when the prepared text has no such line.
    std::int32_t OriginalLine(std::int32_t preparedLine) const;

    std::size_t PreparedLineCount() const { return originalLines_.size(); }

private:
    std::vector<std::int32_t> originalLines_;  // by 0-based prepared line
};

// The number of line feeds in text: the 0-based line of the position right after it.
std::size_t LineBreakCount(std::string_view text);
