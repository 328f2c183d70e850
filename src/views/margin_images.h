#pragma once

#include "platform/resources.h"

#include <cstdint>

// The bookmark marks shown in the selection margin: bitmap resource 22902, a strip of 14 images of
// 16 x 16 pixels, white standing for transparent. Images 3 to 11 mark the numbered bookmarks 1 to 9, image 12 bookmark 0
// and image 13 the unnumbered bookmark; images 0 to 2 are left empty.
namespace margin_images {

constexpr UINT StripResourceId = 22902;
constexpr int ImageSize = 16;
constexpr int ImageCount = 14;
constexpr int StripWidth = ImageSize * ImageCount;
constexpr COLORREF MaskColour = RGB(255, 255, 255);

// The image that marks a line with these line flags, or -1 when the line carries no bookmark.
// Numbered bookmarks 1 to 9 win over bookmark 0, which wins over the unnumbered bookmark.
int ImageForLineFlags(std::uint32_t lineFlags);

// The strip's pixels (StripWidth x ImageSize).
platform::BitmapResource DrawStrip();

// Registers the strip as bitmap resource StripResourceId unless a bitmap has that id already.
void RegisterStrip();

} // namespace margin_images
