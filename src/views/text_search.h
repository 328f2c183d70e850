#pragma once

#include "buffer/text_position.h"
#include "views/line_matcher.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CQuillTextView;

// A match in a text: where it starts and how many bytes it covers (within its line).
struct FoundText {
    TextPosition position;
    int length = 0;

    TextPosition End() const { return {position.character + length, position.line}; }
    friend bool operator==(const FoundText&, const FoundText&) = default;
};

enum class SearchWrap { No, Yes };

// One search text with its options over the lines of a view, matched line by line. Building it
// compiles a regular expression once for every search that follows.
class TextSearch {
public:
    // Throws SearchPatternError for an invalid regular expression.
    TextSearch(const CQuillTextView& view, std::string_view text, std::uint32_t flags);

    // The first match at or after `start` that ends at `rangeEnd` at the latest.
    std::optional<FoundText> Downward(TextPosition start, TextPosition rangeEnd) const;
    // The nearest match that starts before `start`, looking at lines from `start`'s upwards.
    std::optional<FoundText> Upward(TextPosition start) const;
    // The text that replaces `match` (see LineMatcher::Substitute).
    std::string Substitute(FoundText match, std::string_view replacement) const;

private:
    std::string_view Line(int line) const;

    const CQuillTextView& m_view;
    LineMatcher m_matcher;
    // A plain text never matches in an empty rest of a line; a pattern may (an empty line, "$").
    bool m_matchesEmptyRest;
};

// Where `position` lies after the bytes of `match` were replaced by text that now ends at
// `insertedEnd`: positions before the match stay, positions behind it move with the text after it.
TextPosition PositionAfterReplacement(TextPosition position, FoundText match, TextPosition insertedEnd);
