#pragma once

#include <cstdint>

// How a text is searched for: a bit set, stored per view and passed to the view's search.
namespace SearchFlags {
constexpr std::uint32_t FindMatchCase = 0x1;
constexpr std::uint32_t FindWholeWord = 0x2;
constexpr std::uint32_t FindDirectionUp = 0x10;
// The text is a regular expression matched within one line.
constexpr std::uint32_t FindRegularExpression = 0x20;
}  // namespace SearchFlags
