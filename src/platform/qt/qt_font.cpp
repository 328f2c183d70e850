#include "platform/qt/qt_font.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include <cstring>

namespace platform::qt {
namespace {

constexpr int DefaultCellHeight = 16;

QFont BaseFont(const LOGFONT& description)
{
    const std::string face(description.lfFaceName, strnlen(description.lfFaceName, sizeof(description.lfFaceName)));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // The bitmap face of the old system has no outline equivalent: the system's fixed font stands in.
    if (!face.empty() && face != "FixedSys")
        font.setFamily(QString::fromStdString(face));
    font.setStyleHint(QFont::Monospace, QFont::PreferAntialias);
    font.setFixedPitch(true);
    font.setWeight(description.lfWeight >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(description.lfItalic != 0);
    font.setUnderline(description.lfUnderline != 0);
    font.setKerning(false);
    return font;
}

}  // namespace

QtFont::QtFont(const LOGFONT& description) : m_description(description), m_font(BaseFont(description))
{
    if (description.lfHeight < 0) {
        // A negative height is the height of the characters themselves.
        m_font.setPixelSize(-description.lfHeight);
        m_cellHeight = std::max(1, QFontMetrics(m_font).height());
    } else {
        // A cell of exactly the asked height: the largest pixel size whose line spacing fits.
        m_cellHeight = description.lfHeight > 0 ? description.lfHeight : DefaultCellHeight;
        int pixelSize = m_cellHeight;
        m_font.setPixelSize(pixelSize);
        while (pixelSize > 1 && QFontMetrics(m_font).height() > m_cellHeight)
            m_font.setPixelSize(--pixelSize);
    }
    const QFontMetrics metrics(m_font);
    m_cellWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('X')));
    m_ascent = metrics.ascent();
    m_rawFont = QRawFont::fromFont(m_font);
}

CSize QtFont::TextExtent(std::string_view bytes) const
{
    // Every byte is one cell.
    return {static_cast<int>(bytes.size()) * m_cellWidth, m_cellHeight};
}

}  // namespace platform::qt
