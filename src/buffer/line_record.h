#pragma once

#include "buffer/line_flags.h"

#include <cstdint>
#include <memory>
#include <string_view>

// One line of text: its bytes (no line end, not NUL-terminated), the number in use, the allocated
// size and the line's flags. Kept to 24 bytes, since a large file holds millions of them.
struct LineRecord {
    std::unique_ptr<char[]> characters;
    std::int32_t length = 0;
    std::int32_t capacity = 0;
    LineFlags flags = 0;

    std::string_view Text() const { return {characters.get(), static_cast<std::size_t>(length)}; }
};

// The longest line a record can hold; the capacity of its array must still fit in 32 bits.
inline constexpr std::int32_t MaximumLineLength = INT32_MAX - 16;

// Builds a record holding a copy of text. Throws std::length_error beyond MaximumLineLength.
LineRecord MakeLineRecord(std::string_view text);

// Appends text to the line; the array grows only when the text does not fit, so typing reallocates
// at most once per 16 characters.
void AppendChars(LineRecord& line, std::string_view text);

// Cuts the line to the given length; the array keeps its size.
void TruncateLine(LineRecord& line, std::int32_t length);
