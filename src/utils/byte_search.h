#pragma once

// Fast search of a byte pattern in a contiguous text.

#include "utils/string_utils.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace utils {

// A pattern prepared once for searching many texts, such as the lines of a document.
class BytePattern {
public:
    BytePattern(std::string_view pattern, Case comparison);
    // As SearchBytes.
    std::size_t FindIn(std::string_view text, std::size_t from) const;

private:
    std::string m_pattern;
    Case m_comparison;
    // The byte that memchr looks for, in both cases when case is ignored.
    std::size_t m_anchor;
    char m_anchorUpper = 0;
    char m_anchorLower = 0;
};

// First position at or after from where pattern occurs in text; std::string_view::npos when
// absent. An empty pattern is found at from (when from is within the text).
std::size_t SearchBytes(std::string_view text, std::string_view pattern, std::size_t from, Case comparison);

// ASCII upper case of a byte; other bytes unchanged.
inline char AsciiUpper(char character)
{
    return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A') : character;
}

// ASCII lower case of a byte; other bytes unchanged.
inline char AsciiLower(char character)
{
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a') : character;
}

}  // namespace utils
