#pragma once

#include "platform/drawing_surface.h"

#include <QFont>
#include <QFontMetrics>

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
    // Whether every printable ASCII character advances by exactly one cell, so that runs of them
    // need no measuring before they are drawn whole.
    bool AsciiKeepsToCells() const { return m_asciiKeepsToCells; }

private:
    LOGFONT m_description;
    QFont m_font;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    int m_ascent = 0;
    bool m_asciiKeepsToCells = false;
};

}  // namespace platform::qt
