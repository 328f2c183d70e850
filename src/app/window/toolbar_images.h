#pragma once

#include "platform/resources.h"

// The pictures of the main tool bar: one 16 x 15 pixel image per button, in the order of the
// buttons (separators have none), on the button-face grey.
namespace toolbar_images {

constexpr int ButtonWidth = 16;
constexpr int ButtonHeight = 15;
constexpr int ButtonCount = 23;
constexpr COLORREF BackgroundColour = RGB(192, 192, 192);

platform::BitmapResource DrawStrip();

} // namespace toolbar_images
