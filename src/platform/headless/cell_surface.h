#pragma once

#include "platform/drawing_surface.h"

#include <optional>
#include <string>
#include <vector>

namespace platform::headless {

// Every font has cells of this size.
constexpr int CellWidth = 8;
constexpr int CellHeight = 16;

// What a user sees at one place: the character drawn there (0 when none) in its colour, on the
// background colour. Text drawn as UTF-8 also records the code point of a character beyond ASCII;
// the second cell of a wide character is its tail.
struct Cell {
    char byte = 0;
    COLORREF textColour = 0;
    COLORREF background = 0;
    char32_t character = 0;
    bool wideTail = false;

    friend bool operator==(const Cell&, const Cell&) = default;
};

// A drawing surface that records, for every pixel, its colour and the character cell covering it,
// so tests can read back what a window shows.
class CellSurface : public DrawingSurface {
public:
    explicit CellSurface(CSize size, COLORREF fill = RGB(255, 255, 255));

    CSize Size() const override { return m_size; }
    void FillSolidRect(const CRect& rect, COLORREF colour) override;
    void DrawText(CPoint origin, std::string_view bytes, const TextStyle& style, const std::optional<CRect>& clip) override;
    void CopyFrom(CPoint destination, CSize size, const DrawingSurface& source, CPoint sourceOrigin) override;
    void DrawImage(CPoint destination, const BitmapResource& image, const CRect& sourceRect,
                   std::optional<COLORREF> transparent) override;
    void DrawIcon(CPoint destination, const IconPeer& icon, IconLook look) override;

    // Nothing is drawn outside `clip` while it is set (a window's invalid area during a paint).
    void SetClip(std::optional<CRect> clip) { m_clip = clip; }

    // The cell covering a pixel; a pixel outside the surface gives an empty cell.
    Cell CellAt(CPoint point) const;
    COLORREF PixelColour(CPoint point) const;
    // The characters of `count` cells from `start` on, one per cell width; a cell without a
    // character reads as a blank. Characters drawn as UTF-8 read as their UTF-8 bytes, the tail of
    // a wide one as nothing.
    std::string TextAt(CPoint start, int count) const;

private:
    struct Pixel {
        COLORREF colour = 0;
        COLORREF glyphColour = 0;
        char glyph = 0;
        char32_t character = 0;
        bool wideTail = false;
    };
    // One character cell of drawn text.
    struct Glyph {
        char byte = 0;
        char32_t character = 0;
        bool wideTail = false;
    };
    void DrawGlyph(CPoint origin, const Glyph& glyph, const TextStyle& style, const std::optional<CRect>& clip);
    CRect Writable(const CRect& rect) const;
    Pixel& At(int x, int y) { return m_pixels[static_cast<std::size_t>(y * m_size.cx + x)]; }
    const Pixel& At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y * m_size.cx + x)]; }

    CSize m_size;
    std::vector<Pixel> m_pixels;
    std::optional<CRect> m_clip;
};

}  // namespace platform::headless
