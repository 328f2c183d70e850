#pragma once

#include <QString>

#include <cstdint>
#include <string_view>

namespace platform::qt {

// How the bytes of a legacy text become characters on screen: every byte becomes exactly one
// character (one cell) of the font's character set (utils::LegacyCodePage); a byte without a
// character in the code page becomes U+FFFD.
QString DecodeBytes(std::string_view bytes, std::uint8_t characterSet);

}  // namespace platform::qt
