#include "views/margin_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using namespace margin_images;

TEST(MarginImagesTest, EachBookmarkHasItsImage)
{
    for (int bookmark = 1; bookmark <= 9; ++bookmark)
        EXPECT_EQ(ImageForLineFlags(1u << bookmark), bookmark + 2) << bookmark;
    EXPECT_EQ(ImageForLineFlags(0x1u), 12);
    EXPECT_EQ(ImageForLineFlags(0x80000u), 13);
    EXPECT_EQ(ImageForLineFlags(0u), -1);
    // Flags that are no bookmark show nothing.
    EXPECT_EQ(ImageForLineFlags(0x400u | 0x40000u | 0x100000u), -1);
}

TEST(MarginImagesTest, FirstMatchingMaskInTestOrderWins)
{
    EXPECT_EQ(ImageForLineFlags(0x1u | 0x80000u), 12);
    EXPECT_EQ(ImageForLineFlags(0x1u | 0x200u), 11);
    EXPECT_EQ(ImageForLineFlags(0x4u | 0x100u), 4);
    EXPECT_EQ(ImageForLineFlags(0x80000u | 0x2u), 3);
}

TEST(MarginImagesTest, StripHasFourteenImagesAndOnlyTheUsedOnesAreDrawn)
{
    const auto strip = DrawStrip();
    ASSERT_EQ(strip.width, StripWidth);
    ASSERT_EQ(strip.height, ImageSize);
    ASSERT_EQ(strip.pixels.size(), static_cast<std::size_t>(StripWidth * ImageSize));
    std::set<std::vector<COLORREF>> distinctImages;
    for (int image = 0; image < ImageCount; ++image) {
        std::vector<COLORREF> imagePixels;
        for (int y = 0; y < ImageSize; ++y)
            for (int x = 0; x < ImageSize; ++x)
                imagePixels.push_back(strip.Pixel(image * ImageSize + x, y));
        const auto opaque = std::count_if(imagePixels.begin(), imagePixels.end(), [](auto p) { return p != MaskColour; });
        if (image < 3)
            EXPECT_EQ(opaque, 0) << image;
        else
            EXPECT_GT(opaque, 40) << image;
        distinctImages.insert(imagePixels);
    }
    // The eleven marks differ from each other; the three unused images are the same empty one.
    EXPECT_EQ(distinctImages.size(), 12u);
}

} // namespace
