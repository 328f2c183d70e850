#pragma once

#include "buffer/text_position.h"

#include <optional>
#include <string>

class CQuillTextBuffer;

// Paragraph formatting (Ctrl+F): the lines around the caret line that share its indent are re-wrapped
// to 75 columns, each formatted line starting with that indent.

// What formatting replaces: the range from `start` to `end`, the new text, and where the caret goes
// (the end of the last formatted line).
struct ParagraphReplacement {
    TextPosition start;
    TextPosition end;
    std::string text;
    TextPosition caret;
};

inline constexpr int ParagraphWidth = 75;

// Nothing when the caret line is empty or all whitespace. Widths count characters in the buffer's
// encoding, so UTF-8 text is wrapped by its characters and never inside one.
std::optional<ParagraphReplacement> FormatParagraph(const CQuillTextBuffer& buffer, int caretLine);
