#pragma once

#include <cstdint>

// The colours a run of text can be drawn in. Slots 8 to 23 carry colours but no name: nothing
// paints with them. Any number outside the table is still a valid slot and is drawn in red.
enum class ColourSlot : std::int32_t {
    Whitespace = 0,
    Background = 1,
    NormalText = 2,
    SelMargin = 3,
    SelBackground = 4,
    SelText = 5,
    Keyword = 6,
    Comment = 7,
    HtmlTagName = 24,
    HtmlMarkup = 25,
    HtmlAttribute = 26,
    HtmlOtherName = 27,
    // A byte that is not valid UTF-8 in a UTF-8 text, drawn as a replacement mark. Outside the table
    // of colours, so it is red.
    InvalidCharacter = 28,
};

// One entry of a line's colouring: the characters from `start` up to the next span's start (the
// last span: up to the end of the line) are drawn in `slot`.
struct ColourSpan {
    std::int32_t start = 0;
    ColourSlot slot = ColourSlot::NormalText;

    friend bool operator==(const ColourSpan&, const ColourSpan&) = default;
};
