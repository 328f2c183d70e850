#include "platform/qt/qt_surface.h"

#include "platform/qt/character_set_codec.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/qt_icon.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <map>

namespace platform::qt {
namespace {

QRect ToQRect(const CRect& rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

// A run the font draws in its cells without being measured first.
bool KeepsToCells(std::string_view bytes, const QtFont& font)
{
    return font.AsciiKeepsToCells()
        && std::all_of(bytes.begin(), bytes.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
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
    // Each operation starts from the painter's plain state, whatever the one before set.
    painter->save();
    operation(*painter);
    painter->restore();
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
    if (style.encoding == TextEncoding::Utf8) {
        DrawUtf8Text(origin, bytes, *font, style, clip);
        return;
    }
    const QString text = DecodeBytes(bytes, font->Description().lfCharSet);
    const int cellWidth = font->CellWidth();
    const CSize extent = font->TextExtent(bytes);
    Paint([&](QPainter& painter) {
        if (clip)
            painter.setClipRect(ToQRect(*clip), Qt::IntersectClip);
        if (style.opaque)
            painter.fillRect(QRect(origin.x, origin.y, extent.cx, extent.cy), ToQColor(style.backgroundColour));
        painter.setFont(font->Font());
        painter.setPen(ToQColor(style.textColour));
        const int baseline = origin.y + font->Ascent();
        // Whole runs when the font keeps to its cells; otherwise character by character, so every
        // byte stays in its own cell.
        if (KeepsToCells(bytes, *font) || painter.fontMetrics().horizontalAdvance(text) == extent.cx) {
            painter.drawText(QPoint(origin.x, baseline), text);
            return;
        }
        for (qsizetype index = 0; index < text.size(); ++index)
            painter.drawText(QPoint(origin.x + static_cast<int>(index) * cellWidth, baseline), QString(text[index]));
    });
}

void QtSurface::DrawUtf8Text(CPoint origin, std::string_view bytes, const QtFont& font, const TextStyle& style,
                             const std::optional<CRect>& clip)
{
    // The cells first, without building anything: most runs are valid text of one cell per
    // character, drawn in one go like 8-bit text.
    int cells = 0;
    bool valid = true;
    bool oneCellEach = true;
    for (std::size_t index = 0; index < bytes.size();) {
        const utf8::Character character = utf8::DecodeAt(bytes, index);
        const int width = utf8::CellWidth(character.codePoint);
        valid = valid && character.valid;
        oneCellEach = oneCellEach && width == 1;
        cells += width;
        index += static_cast<std::size_t>(character.length);
    }
    const QString text = valid ? QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
                               : QString::fromStdString(utf8::ValidText(bytes));
    const int cellWidth = font.CellWidth();
    const int height = font.TextExtent("X").cy;
    Paint([&](QPainter& painter) {
        if (clip)
            painter.setClipRect(ToQRect(*clip), Qt::IntersectClip);
        if (style.opaque)
            painter.fillRect(QRect(origin.x, origin.y, cells * cellWidth, height), ToQColor(style.backgroundColour));
        painter.setFont(font.Font());
        painter.setPen(ToQColor(style.textColour));
        const int baseline = origin.y + font.Ascent();
        if (KeepsToCells(bytes, font) || (oneCellEach && painter.fontMetrics().horizontalAdvance(text) == cells * cellWidth)) {
            painter.drawText(QPoint(origin.x, baseline), text);
            return;
        }
        // Otherwise each character in its own cells, wide ones in two.
        int cell = 0;
        for (std::size_t index = 0; index < bytes.size();) {
            const utf8::Character character = utf8::DecodeAt(bytes, index);
            painter.drawText(QPoint(origin.x + cell * cellWidth, baseline), QString::fromUcs4(&character.codePoint, 1));
            cell += utf8::CellWidth(character.codePoint);
            index += static_cast<std::size_t>(character.length);
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
