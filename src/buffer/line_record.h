#pragma once

#include "buffer/line_flags.h"

#include <cstdint>
#include <string_view>

// One line of text: its bytes (no line end, not NUL-terminated), the number in use, the allocated
// size and the line's flags. Kept to 24 bytes, since a large file holds millions of them. The bytes
// belong to the line table that holds the record.
struct LineRecord {
    char* characters = nullptr;
    std::int32_t length = 0;
    std::int32_t capacity = 0;
    LineFlags flags = 0;

    std::string_view Text() const { return {characters, static_cast<std::size_t>(length)}; }
};

// The longest line a record can hold; the capacity of its array must still fit in 32 bits.
inline constexpr std::int32_t MaximumLineLength = INT32_MAX - 16;

// The array size for a line of the given length: the smallest multiple of 16 strictly greater than
// it, so an empty line owns 16 bytes and typing reallocates at most once per 16 characters. Throws
// std::length_error beyond MaximumLineLength.
std::int32_t LineCapacityFor(std::size_t length);
