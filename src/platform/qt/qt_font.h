#pragma once

#include "platform/drawing_surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QRawFont>

namespace platform::qt {

// A LOGFONT made real: the face names of fixed-pitch fonts the program asks for ("Courier New",
// "FixedSys") resolve through fontconfig to an installed fixed-pitch font; a positive height is the
// cell height in pixels.
class QtFont : public FontPeer {
public:
    explicit QtFont(const LOGFONT& description);

    const LOGFONT& Description() const override { return m_description; }
    CSize TextExtent(std::string_view bytes) const override;

    const QFont& Font() const { return m_font; }
    int CellWidth() const { return m_cellWidth; }
    int Ascent() const { return m_ascent; }
    // The font's own glyphs, without the fallback to other fonts.
    const QRawFont& RawFont() const { return m_rawFont; }

private:
    LOGFONT m_description;
    QFont m_font;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    int m_ascent = 0;
    QRawFont m_rawFont;
};

}  // namespace platform::qt
