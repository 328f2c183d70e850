#pragma once

#include <cstdint>
#include <string_view>

// How lines of a text file end. Automatic only asks the loader to detect the style; a buffer always
// stores one of the concrete styles.
enum class LineEndingStyle : std::int32_t {
    Automatic = -1,
    CrLf = 0,
    LfCr = 1,
    Lf = 2,
};

// The style of new documents and of files whose first block holds no line feed.
inline constexpr LineEndingStyle NativeLineEndingStyle = LineEndingStyle::Lf;

// The bytes that end a line in the given style; the native line end for Automatic.
constexpr std::string_view LineEndText(LineEndingStyle style)
{
    switch (style) {
    case LineEndingStyle::CrLf:
        return "\r\n";
    case LineEndingStyle::LfCr:
        return "\n\r";
    case LineEndingStyle::Lf:
    case LineEndingStyle::Automatic:
        break;
    }
    return "\n";
}
