#include "views/margin_images.h"

#include <array>
#include <string_view>

namespace margin_images {

namespace {

constexpr int FirstNumberedImage = 3;
constexpr int BookmarkZeroImage = 12;
constexpr int UnnumberedImage = 13;
constexpr std::uint32_t BookmarkZeroFlag = 0x1u;
constexpr std::uint32_t UnnumberedFlag = 0x80000u;

constexpr std::uint32_t TagFill = 0x0040A0u;
constexpr std::uint32_t TagBorder = 0x002060u;
constexpr std::uint32_t DigitColour = 0xFFFFA0u;
constexpr std::uint32_t RibbonFill = 0x008080u;
constexpr std::uint32_t RibbonBorder = 0x004040u;

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

    void Put(int image, int x, int y, std::uint32_t colour)
    {
        if (x < 0 || x >= ImageSize || y < 0 || y >= ImageSize)
            return;
        m_pixels[static_cast<std::size_t>(y * StripWidth + image * ImageSize + x)] = colour;
    }

    std::vector<std::uint32_t> Take() { return std::move(m_pixels); }

private:
    std::vector<std::uint32_t> m_pixels;
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
        if ((lineFlags & (1u << bookmark)) != 0)
            return FirstNumberedImage + bookmark - 1;
    }
    if ((lineFlags & BookmarkZeroFlag) != 0)
        return BookmarkZeroImage;
    if ((lineFlags & UnnumberedFlag) != 0)
        return UnnumberedImage;
    return -1;
}

std::vector<std::uint32_t> DrawStrip()
{
    StripCanvas canvas;
    for (int bookmark = 1; bookmark <= 9; ++bookmark)
        DrawNumberedTag(canvas, FirstNumberedImage + bookmark - 1, bookmark);
    DrawNumberedTag(canvas, BookmarkZeroImage, 0);
    DrawRibbon(canvas, UnnumberedImage);
    return canvas.Take();
}

} // namespace margin_images
