#pragma once

// Fast search of a byte pattern in a contiguous text.

#include "utils/string_utils.h"

#include <cstddef>
#include <string_view>

namespace utils {

// First position at or after from where pattern occurs in text; std::string_view::npos when
// absent. An empty pattern is found at from (when from is within the text).
std::size_t SearchBytes(std::string_view text, std::string_view pattern, std::size_t from, Case comparison);

// ASCII upper case of a byte; other bytes unchanged.
inline char AsciiUpper(char character)
{
    return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A') : character;
}

}  // namespace utils
