#pragma once

#include <compare>
#include <cstdint>

// A place in a buffer: byte index within the line, then line index, both 0-based. A position may lie
// at the end of a line (character equal to the line's length).
struct TextPosition {
    std::int32_t character = 0;
    std::int32_t line = 0;

    friend constexpr bool operator==(const TextPosition&, const TextPosition&) = default;

    // Text order: by line first, then by character.
    friend constexpr std::strong_ordering operator<=>(const TextPosition& left, const TextPosition& right)
    {
        if (auto byLine = left.line <=> right.line; byLine != 0) {
            return byLine;
        }
        return left.character <=> right.character;
    }
};
