#include "platform/headless/cell_surface.h"

#include "platform/headless/headless_icon.h"

namespace platform::headless {

CellSurface::CellSurface(CSize size, COLORREF fill)
    : m_size(size), m_pixels(static_cast<std::size_t>(std::max(size.cx, 0) * std::max(size.cy, 0)), Pixel{fill, 0, 0})
{
}

CRect CellSurface::Writable(const CRect& rect) const
{
    CRect area;
    area.IntersectRect(rect, CRect(CPoint(), m_size));
    if (m_clip)
        area.IntersectRect(area, *m_clip);
    return area;
}

void CellSurface::FillSolidRect(const CRect& rect, COLORREF colour)
{
    const CRect area = Writable(rect);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            At(x, y) = Pixel{colour, 0, 0};
    }
}

void CellSurface::DrawText(CPoint origin, std::string_view bytes, const TextStyle& style, const std::optional<CRect>& clip)
{
    if (style.encoding == TextEncoding::Legacy) {
        for (std::size_t index = 0; index < bytes.size(); ++index)
            DrawGlyph(CPoint(origin.x + static_cast<int>(index) * CellWidth, origin.y), Glyph{bytes[index]}, style, clip);
        return;
    }
    int x = origin.x;
    for (std::size_t index = 0; index < bytes.size();) {
        const utf8::Character character = utf8::DecodeAt(bytes, index);
        // ASCII reads the same in both encodings.
        const char32_t beyondAscii = character.codePoint < 0x80 ? 0 : character.codePoint;
        DrawGlyph(CPoint(x, origin.y), Glyph{bytes[index], beyondAscii}, style, clip);
        x += CellWidth;
        if (utf8::CellWidth(character.codePoint) == 2) {
            DrawGlyph(CPoint(x, origin.y), Glyph{0, 0, true}, style, clip);
            x += CellWidth;
        }
        index += static_cast<std::size_t>(character.length);
    }
}

void CellSurface::DrawGlyph(CPoint origin, const Glyph& glyph, const TextStyle& style, const std::optional<CRect>& clip)
{
    CRect area = Writable(CRect(origin, CSize(CellWidth, CellHeight)));
    if (clip)
        area.IntersectRect(area, *clip);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            Pixel& pixel = At(x, y);
            if (style.opaque)
                pixel.colour = style.backgroundColour;
            pixel.glyph = glyph.byte;
            pixel.character = glyph.character;
            pixel.wideTail = glyph.wideTail;
            pixel.glyphColour = style.textColour;
        }
    }
}

void CellSurface::CopyFrom(CPoint destination, CSize size, const DrawingSurface& source, CPoint sourceOrigin)
{
    const auto& from = dynamic_cast<const CellSurface&>(source);
    // Copying within one surface reads the pixels as they were before.
    std::vector<Pixel> snapshot;
    if (&from == this)
        snapshot = m_pixels;
    const std::vector<Pixel>& pixels = &from == this ? snapshot : from.m_pixels;
    const CRect area = Writable(CRect(destination, size));
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const int sourceX = x - destination.x + sourceOrigin.x;
            const int sourceY = y - destination.y + sourceOrigin.y;
            if (sourceX < 0 || sourceY < 0 || sourceX >= from.m_size.cx || sourceY >= from.m_size.cy)
                continue;
            At(x, y) = pixels[static_cast<std::size_t>(sourceY * from.m_size.cx + sourceX)];
        }
    }
}

void CellSurface::DrawImage(CPoint destination, const BitmapResource& image, const CRect& sourceRect,
                            std::optional<COLORREF> transparent)
{
    const CRect area = Writable(CRect(destination, sourceRect.Size()));
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const int imageX = x - destination.x + sourceRect.left;
            const int imageY = y - destination.y + sourceRect.top;
            if (imageX < 0 || imageY < 0 || imageX >= image.width || imageY >= image.height)
                continue;
            const COLORREF colour = image.Pixel(imageX, imageY);
            if (transparent && colour == *transparent)
                continue;
            At(x, y) = Pixel{colour, 0, 0};
        }
    }
}

void CellSurface::DrawIcon(CPoint destination, const IconPeer& icon, IconLook look)
{
    BitmapResource image = dynamic_cast<const HeadlessIcon&>(icon).Image();
    if (look == IconLook::Disabled) {
        for (COLORREF& pixel : image.pixels)
            pixel = DisabledLook(pixel);
    }
    DrawImage(destination, image, CRect(0, 0, image.width, image.height), std::nullopt);
}

Cell CellSurface::CellAt(CPoint point) const
{
    if (!CRect(CPoint(), m_size).PtInRect(point))
        return {};
    const Pixel& pixel = At(point.x, point.y);
    return {pixel.glyph, pixel.glyphColour, pixel.colour, pixel.character, pixel.wideTail};
}

COLORREF CellSurface::PixelColour(CPoint point) const
{
    return CellAt(point).background;
}

std::string CellSurface::TextAt(CPoint start, int count) const
{
    std::string text;
    for (int index = 0; index < count; ++index) {
        const Cell cell = CellAt(CPoint(start.x + index * CellWidth, start.y));
        if (cell.wideTail)
            continue;
        if (cell.character != 0)
            text += utf8::Encode(cell.character);
        else
            text += cell.byte == 0 ? ' ' : cell.byte;
    }
    return text;
}

}  // namespace platform::headless
