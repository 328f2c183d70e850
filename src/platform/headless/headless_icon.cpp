#include "platform/headless/headless_icon.h"

namespace platform::headless {

BitmapResource ScaledImage(const BitmapResource& image, int pixels)
{
    BitmapResource scaled{pixels, pixels, {}};
    scaled.pixels.reserve(static_cast<std::size_t>(pixels * pixels));
    for (int y = 0; y < pixels; ++y) {
        for (int x = 0; x < pixels; ++x)
            scaled.pixels.push_back(image.Pixel(x * image.width / pixels, y * image.height / pixels));
    }
    return scaled;
}

COLORREF DisabledLook(COLORREF colour)
{
    const int brightness = (GetRValue(colour) * 30 + GetGValue(colour) * 59 + GetBValue(colour) * 11) / 100;
    const int grey = (brightness + 255) / 2;
    return RGB(grey, grey, grey);
}

}  // namespace platform::headless
