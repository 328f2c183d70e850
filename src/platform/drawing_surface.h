#pragma once

#include "platform/geometry.h"
#include "platform/icon.h"
#include "platform/logfont.h"
#include "platform/resources.h"
#include "platform/win_types.h"
#include "utils/utf8_characters.h"

#include <optional>
#include <string_view>

namespace platform {

// A font made by the backend from a LOGFONT. Every byte occupies one cell of the same width.
class FontPeer {
public:
    virtual ~FontPeer() = default;
    virtual const LOGFONT& Description() const = 0;
    // Width and height of the text drawn in this font.
    virtual CSize TextExtent(std::string_view bytes) const = 0;
};

// How a text is drawn: font, colours, whether its cells are filled with the background colour, and
// how its bytes are read: in the font's 8-bit character set, one cell per byte, or as UTF-8, where
// each character takes the cells utf8::CellWidth gives it.
struct TextStyle {
    const FontPeer* font = nullptr;
    COLORREF textColour = 0;
    COLORREF backgroundColour = 0xFFFFFF;
    bool opaque = true;
    TextEncoding encoding = TextEncoding::Legacy;
};

// Something a device context draws on: a window's client area while it paints, or a bitmap.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    virtual CSize Size() const = 0;
    virtual void FillSolidRect(const CRect& rect, COLORREF colour) = 0;
    // Draws `bytes` with their top-left corner at `origin`, nothing outside `clip` when one is given.
    virtual void DrawText(CPoint origin, std::string_view bytes, const TextStyle& style, const std::optional<CRect>& clip) = 0;
    // Copies `size` pixels from `sourceOrigin` of `source` to `destination` of this surface.
    virtual void CopyFrom(CPoint destination, CSize size, const DrawingSurface& source, CPoint sourceOrigin) = 0;
    // Draws the part `sourceRect` of `image` at `destination`, leaving pixels of `transparent` out.
    virtual void DrawImage(CPoint destination, const BitmapResource& image, const CRect& sourceRect,
                           std::optional<COLORREF> transparent) = 0;
    enum class IconLook { Normal, Disabled };
    virtual void DrawIcon(CPoint destination, const IconPeer& icon, IconLook look) = 0;
};

}  // namespace platform
