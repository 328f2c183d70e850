#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::qt {

// How bytes of 8-bit text become characters on screen, and back: the one place that decides it.
// Character sets 0 (ANSI) and 1 (default) are Windows-1252, 238 (Central European) Windows-1250;
// every byte becomes exactly one character (one cell), a byte without a character in the code page
// becomes U+FFFD. The clipboard and typed characters use the ANSI mapping.
QString DecodeBytes(std::string_view bytes, std::uint8_t characterSet);
// Characters without a byte in the code page become "?".
std::string EncodeText(const QString& text, std::uint8_t characterSet);

constexpr std::uint8_t ClipboardCharacterSet = 0;

}  // namespace platform::qt
