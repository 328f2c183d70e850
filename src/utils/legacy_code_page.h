#pragma once

#include <cstdint>
#include <optional>

// The 8-bit character sets a legacy (not UTF-8) document is read in: the font's character set 238
// is Windows-1250, every other one Windows-1252. Each byte is one character; bytes below 128 are
// ASCII in both.
namespace utils {

enum class LegacyCodePage { Windows1252, Windows1250 };

LegacyCodePage CodePageOfCharacterSet(std::uint8_t characterSet);

// The Unicode character of a byte; U+FFFD for a byte the code page leaves undefined.
char32_t LegacyCharacter(LegacyCodePage codePage, unsigned char byte);
// The byte of a Unicode character; nothing when the code page has none.
std::optional<unsigned char> LegacyByte(LegacyCodePage codePage, char32_t character);

}  // namespace utils
