#pragma once

#include "platform/icon.h"
#include "platform/resources.h"

namespace platform::headless {

// An icon of the in-memory icon theme: its pixels.
class HeadlessIcon : public IconPeer {
public:
    explicit HeadlessIcon(BitmapResource image) : m_image(std::move(image)) {}
    CSize Size() const override { return {m_image.width, m_image.height}; }
    const BitmapResource& Image() const { return m_image; }

private:
    BitmapResource m_image;
};

// The colour every pixel of the theme's executable icon has.
constexpr COLORREF ExecutableIconColour = 0xA04040;

// The image at `pixels` x `pixels`, scaled by taking the nearest pixel.
BitmapResource ScaledImage(const BitmapResource& image, int pixels);
// A pixel as a disabled control shows it: grey of the same brightness, lightened by half.
COLORREF DisabledLook(COLORREF colour);

}  // namespace platform::headless
