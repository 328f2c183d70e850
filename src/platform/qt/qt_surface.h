#pragma once

#include "platform/drawing_surface.h"

#include <QPainter>
#include <QPixmap>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::qt {

class QtFont;

// The characters of a run of text, each with the cells it takes: one, or two for a wide one.
struct CellText {
    std::u32string characters;
    std::vector<int> widths;
    int cells = 0;

    void Append(char32_t character, int width)
    {
        characters.push_back(character);
        widths.push_back(width);
        cells += width;
    }
};

// A drawing surface over Qt: a window's viewport while it paints (through its painter), or an
// off-screen pixmap (a bitmap of a memory device context).
class QtSurface : public DrawingSurface {
public:
    QtSurface(QPainter& painter, CSize size);
    explicit QtSurface(CSize size);
    QtSurface(const QtSurface&) = delete;
    QtSurface& operator=(const QtSurface&) = delete;

    CSize Size() const override { return m_size; }
    void FillSolidRect(const CRect& rect, COLORREF colour) override;
    void DrawText(CPoint origin, std::string_view bytes, const TextStyle& style, const std::optional<CRect>& clip) override;
    void CopyFrom(CPoint destination, CSize size, const DrawingSurface& source, CPoint sourceOrigin) override;
    void DrawImage(CPoint destination, const BitmapResource& image, const CRect& sourceRect,
                   std::optional<COLORREF> transparent) override;
    void DrawIcon(CPoint destination, const IconPeer& icon, IconLook look) override;

private:
    void Paint(const std::function<void(QPainter&)>& operation);
    // Finishes the painter kept open on the pixmap, so its pixels can be read.
    void FinishPixmapPainting() const;
    // Every character in its own cells.
    void DrawCells(CPoint origin, const CellText& text, const QtFont& font, const TextStyle& style,
                   const std::optional<CRect>& clip);

    QPainter* m_windowPainter = nullptr;
    std::optional<QPixmap> m_pixmap;
    // Opening a painter on a pixmap costs more than drawing a short run of text, so one stays open
    // from the first operation until the pixels are read; declared after the pixmap so that it ends
    // first.
    mutable std::optional<QPainter> m_pixmapPainter;
    CSize m_size;
};

QColor ToQColor(COLORREF colour);
// The image of a bitmap resource; pixels of `transparent` are fully transparent.
const QImage& ImageOf(const BitmapResource& bitmap, std::optional<COLORREF> transparent);

}  // namespace platform::qt
