#include "platform/qt/qt_surface.h"

#include "platform/qt/character_set_codec.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/qt_icon.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <map>

namespace platform::qt {
namespace {

QRect ToQRect(const CRect& rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

// Draws the glyphs of the characters each at the left of its first cell, without shaping: in a
// grid of cells nothing else decides where a glyph goes. False, having drawn nothing, when the font
// lacks one of them.
bool DrawGlyphsOnCells(QPainter& painter, QPoint baseline, const CellText& text, const QtFont& font)
{
    const QRawFont& rawFont = font.RawFont();
    QList<QPointF> positions;
    positions.reserve(static_cast<qsizetype>(text.characters.size()));
    int cell = 0;
    for (std::size_t index = 0; index < text.characters.size(); ++index) {
        // Characters beyond the first plane take two UTF-16 units, and the lookup one.
        if (text.characters[index] > 0xFFFF)
            return false;
        positions.append(QPointF(cell * font.CellWidth(), 0));
        cell += text.widths[index];
    }
    const QList<quint32> glyphs = rawFont.glyphIndexesForString(
        QString::fromUcs4(text.characters.data(), static_cast<qsizetype>(text.characters.size())));
    if (glyphs.size() != positions.size() || glyphs.contains(0u))
        return false;
    QGlyphRun run;
    run.setRawFont(rawFont);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    run.setUnderline(font.Font().underline());
    painter.drawGlyphRun(baseline, run);
    return true;
}

}  // namespace

QColor ToQColor(COLORREF colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

const QImage& ImageOf(const BitmapResource& bitmap, std::optional<COLORREF> transparent)
{
    // Converted once per resource and mask; resources live as long as the program.
    static std::map<std::pair<const BitmapResource*, std::optional<COLORREF>>, QImage> images;
    auto [entry, inserted] = images.try_emplace({&bitmap, transparent});
    if (!inserted)
        return entry->second;
    QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const COLORREF colour = bitmap.Pixel(x, y);
            const bool clear = transparent && colour == *transparent;
            image.setPixel(x, y, clear ? qRgba(0, 0, 0, 0) : qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
        }
    }
    entry->second = image;
    return entry->second;
}

QtSurface::QtSurface(QPainter& painter, CSize size) : m_windowPainter(&painter), m_size(size) {}

QtSurface::QtSurface(CSize size) : m_pixmap(QPixmap(std::max(size.cx, 1), std::max(size.cy, 1))), m_size(size)
{
    m_pixmap->fill(Qt::black);
}

void QtSurface::Paint(const std::function<void(QPainter&)>& operation)
{
    QPainter* painter = m_windowPainter;
    if (painter == nullptr) {
        if (!m_pixmapPainter)
            m_pixmapPainter.emplace(&*m_pixmap);
        painter = &*m_pixmapPainter;
    }
    // Each operation sets the pen and font it draws with; the one state that would outlast it and
    // change what the next draws is its clip, which goes. Saving and restoring the whole state
    // instead costs more than drawing a short run.
    operation(*painter);
    if (painter->hasClipping())
        painter->setClipping(false);
}

void QtSurface::FinishPixmapPainting() const
{
    m_pixmapPainter.reset();
}

void QtSurface::FillSolidRect(const CRect& rect, COLORREF colour)
{
    Paint([&](QPainter& painter) { painter.fillRect(ToQRect(rect), ToQColor(colour)); });
}

void QtSurface::DrawText(CPoint origin, std::string_view bytes, const TextStyle& style, const std::optional<CRect>& clip)
{
    const auto* font = dynamic_cast<const QtFont*>(style.font);
    if (font == nullptr || bytes.empty())
        return;
    CellText text;
    if (style.encoding == TextEncoding::Utf8) {
        for (std::size_t index = 0; index < bytes.size();) {
            const utf8::Character character = utf8::DecodeAt(bytes, index);
            text.Append(character.codePoint, utf8::CellWidth(character.codePoint));
            index += static_cast<std::size_t>(character.length);
        }
    } else {
        // Every byte is one character of the font's code page, in one cell.
        for (const QChar character : DecodeBytes(bytes, font->Description().lfCharSet))
            text.Append(character.unicode(), 1);
    }
    DrawCells(origin, text, *font, style, clip);
}

void QtSurface::DrawCells(CPoint origin, const CellText& text, const QtFont& font, const TextStyle& style,
                          const std::optional<CRect>& clip)
{
    const int cellWidth = font.CellWidth();
    Paint([&](QPainter& painter) {
        if (clip)
            painter.setClipRect(ToQRect(*clip), Qt::IntersectClip);
        if (style.opaque)
            painter.fillRect(QRect(origin.x, origin.y, text.cells * cellWidth, font.TextExtent("X").cy),
                             ToQColor(style.backgroundColour));
        painter.setPen(ToQColor(style.textColour));
        const QPoint baseline(origin.x, origin.y + font.Ascent());
        if (DrawGlyphsOnCells(painter, baseline, text, font))
            return;
        // A character the font lacks: the system finds a font for it, one character at a time so
        // that each stays in its cells.
        painter.setFont(font.Font());
        int cell = 0;
        for (std::size_t index = 0; index < text.characters.size(); ++index) {
            painter.drawText(baseline + QPoint(cell * cellWidth, 0), QString::fromUcs4(&text.characters[index], 1));
            cell += text.widths[index];
        }
    });
}

void QtSurface::CopyFrom(CPoint destination, CSize size, const DrawingSurface& source, CPoint sourceOrigin)
{
    const auto& from = dynamic_cast<const QtSurface&>(source);
    if (!from.m_pixmap)
        return;
    from.FinishPixmapPainting();
    const QRect part(sourceOrigin.x, sourceOrigin.y, size.cx, size.cy);
    if (&from == this) {
        // A pixmap cannot be read while it is being painted on.
        const QPixmap pixels = m_pixmap->copy(part);
        Paint([&](QPainter& painter) { painter.drawPixmap(destination.x, destination.y, pixels); });
        return;
    }
    Paint([&](QPainter& painter) { painter.drawPixmap(QPoint(destination.x, destination.y), *from.m_pixmap, part); });
}

void QtSurface::DrawImage(CPoint destination, const BitmapResource& image, const CRect& sourceRect,
                          std::optional<COLORREF> transparent)
{
    const QImage& converted = ImageOf(image, transparent);
    Paint([&](QPainter& painter) { painter.drawImage(QPoint(destination.x, destination.y), converted, ToQRect(sourceRect)); });
}

void QtSurface::DrawIcon(CPoint destination, const IconPeer& icon, IconLook look)
{
    const auto& qtIcon = dynamic_cast<const QtIcon&>(icon);
    const QPixmap pixels = qtIcon.Icon().pixmap(QSize(qtIcon.Pixels(), qtIcon.Pixels()),
                                                look == IconLook::Disabled ? QIcon::Disabled : QIcon::Normal);
    Paint([&](QPainter& painter) { painter.drawPixmap(destination.x, destination.y, pixels); });
}

}  // namespace platform::qt
