#pragma once

#include <bit>
#include <cstdint>

// The flag word every line carries. Bits 0 to 9 are the numbered bookmarks (at most one line holds
// each), bit 19 the unnumbered bookmark (any number of lines); the other bits are free for callers.
using LineFlags = std::uint32_t;

inline constexpr LineFlags UnnumberedBookmarkFlag = 0x80000;

constexpr LineFlags NumberedBookmarkFlag(int number)
{
    return LineFlags{1} << number;
}

// The flag operations act on exactly one bit at a time.
constexpr bool IsSingleFlag(LineFlags flag)
{
    return std::has_single_bit(flag);
}

// Arguments of CQuillTextBuffer::SetLineFlag.
enum class FlagOperation { Clear, Set };
// Exclusive: the flag moves from the line that carried it to the new one (numbered bookmarks).
enum class FlagExclusivity { Shared, Exclusive };
