#pragma once

#include <cstdint>
#include <vector>

// The bookmark marks shown in the selection margin: a strip of 14 images of 16 x 16 pixels, white
// standing for transparent. Images 3 to 11 mark the numbered bookmarks 1 to 9, image 12 bookmark 0
// and image 13 the unnumbered bookmark; images 0 to 2 are left empty.
namespace margin_images {

constexpr int ImageSize = 16;
constexpr int ImageCount = 14;
constexpr int StripWidth = ImageSize * ImageCount;
constexpr std::uint32_t MaskColour = 0xFFFFFFu;

// The image that marks a line with these line flags, or -1 when the line carries no bookmark.
// Numbered bookmarks 1 to 9 win over bookmark 0, which wins over the unnumbered bookmark.
int ImageForLineFlags(std::uint32_t lineFlags);

// The strip's pixels, row by row, as 0xRRGGBB values (StripWidth x ImageSize).
std::vector<std::uint32_t> DrawStrip();

} // namespace margin_images
