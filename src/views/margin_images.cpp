#include "views/margin_images.h"

#include "buffer/line_flags.h"

#include <array>
#include <string_view>

namespace margin_images {

namespace {

constexpr int FirstNumberedImage = 3;
constexpr int BookmarkZeroImage = 12;
constexpr int UnnumberedImage = 13;

constexpr COLORREF TagFill = RGB(0, 64, 160);
constexpr COLORREF TagBorder = RGB(0, 32, 96);
constexpr COLORREF DigitColour = RGB(255, 255, 160);
constexpr COLORREF RibbonFill = RGB(0, 128, 128);
constexpr COLORREF RibbonBorder = RGB(0, 64, 64);

// Digits 0 to 9 in a 3 x 5 pixel font, one string of 15 cells each, row by row.
constexpr std::array<std::string_view, 10> DigitGlyphs = {
    "###"
    "#.#"
    "#.#"
    "#.#"
    "###",
    ".#."
    "##."
    ".#."
    ".#."
    "###",
    "###"
    "..#"
    "###"
    "#.."
    "###",
    "###"
    "..#"
    "###"
    "..#"
    "###",
    "#.#"
    "#.#"
    "###"
    "..#"
    "..#",
    "###"
    "#.."
    "###"
    "..#"
    "###",
    "###"
    "#.."
    "###"
    "#.#"
    "###",
    "###"
    "..#"
    ".#."
    ".#."
    ".#.",
    "###"
    "#.#"
    "###"
    "#.#"
    "###",
    "###"
    "#.#"
    "###"
    "..#"
    "###",
};

class StripCanvas {
public:
    StripCanvas() : m_pixels(static_cast<std::size_t>(StripWidth * ImageSize), MaskColour) {}

    void Put(int image, int x, int y, COLORREF colour)
    {
        if (x < 0 || x >= ImageSize || y < 0 || y >= ImageSize)
            return;
        m_pixels[static_cast<std::size_t>(y * StripWidth + image * ImageSize + x)] = colour;
    }

    platform::BitmapResource Take() { return {StripWidth, ImageSize, std::move(m_pixels)}; }

private:
    std::vector<COLORREF> m_pixels;
};

// A tag of 12 x 14 pixels with clipped corners and a digit drawn twice its font size.
void DrawNumberedTag(StripCanvas& canvas, int image, int digit)
{
    constexpr int Left = 2, Top = 1, Right = 13, Bottom = 14;
    for (int y = Top; y <= Bottom; ++y) {
        for (int x = Left; x <= Right; ++x) {
            const bool corner = (x == Left || x == Right) && (y == Top || y == Bottom);
            if (corner)
                continue;
            const bool edge = x == Left || x == Right || y == Top || y == Bottom;
            canvas.Put(image, x, y, edge ? TagBorder : TagFill);
        }
    }
    const auto glyph = DigitGlyphs[static_cast<std::size_t>(digit)];
    constexpr int GlyphLeft = 5, GlyphTop = 3;
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 3; ++column) {
            if (glyph[static_cast<std::size_t>(row * 3 + column)] != '#')
                continue;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    canvas.Put(image, GlyphLeft + column * 2 + dx, GlyphTop + row * 2 + dy, DigitColour);
        }
    }
}

// A ribbon 8 pixels wide whose lower end is cut into a notch.
void DrawRibbon(StripCanvas& canvas, int image)
{
    constexpr int Left = 4, Right = 11, Top = 1, Bottom = 14, NotchDepth = 3;
    constexpr int Middle = (Left + Right) / 2;
    for (int y = Top; y <= Bottom; ++y) {
        for (int x = Left; x <= Right; ++x) {
            const int distanceFromMiddle = x <= Middle ? Middle - x : x - Middle - 1;
            const int notchTop = Bottom - NotchDepth + distanceFromMiddle + 1;
            if (distanceFromMiddle < NotchDepth && y > notchTop)
                continue;
            const bool edge = x == Left || x == Right || y == Top || (distanceFromMiddle < NotchDepth && y == notchTop)
                || y == Bottom;
            canvas.Put(image, x, y, edge ? RibbonBorder : RibbonFill);
        }
    }
}

} // namespace

int ImageForLineFlags(std::uint32_t lineFlags)
{
    for (int bookmark = 1; bookmark <= 9; ++bookmark) {
        if ((lineFlags & NumberedBookmarkFlag(bookmark)) != 0)
            return FirstNumberedImage + bookmark - 1;
    }
    if ((lineFlags & NumberedBookmarkFlag(0)) != 0)
        return BookmarkZeroImage;
    if ((lineFlags & UnnumberedBookmarkFlag) != 0)
        return UnnumberedImage;
    return -1;
}

platform::BitmapResource DrawStrip()
{
    StripCanvas canvas;
    for (int bookmark = 1; bookmark <= 9; ++bookmark)
        DrawNumberedTag(canvas, FirstNumberedImage + bookmark - 1, bookmark);
    DrawNumberedTag(canvas, BookmarkZeroImage, 0);
    DrawRibbon(canvas, UnnumberedImage);
    return canvas.Take();
}

void RegisterStrip()
{
    if (platform::resources::FindBitmap(StripResourceId) == nullptr)
        platform::resources::AddBitmap(StripResourceId, DrawStrip());
}

} // namespace margin_images
