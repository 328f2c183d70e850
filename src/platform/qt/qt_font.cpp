#include "platform/qt/qt_font.h"

#include <QFontDatabase>

#include <cmath>
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
    // A cell of the asked height: the pixel size is scaled until line spacing matches it.
    const int wantedHeight = description.lfHeight > 0 ? description.lfHeight
                             : description.lfHeight < 0 ? -description.lfHeight * 8 / 7
                                                        : DefaultCellHeight;
    m_font.setPixelSize(wantedHeight);
    const int measured = QFontMetrics(m_font).height();
    if (measured > 0 && measured != wantedHeight)
        m_font.setPixelSize(std::max(1, static_cast<int>(std::lround(wantedHeight * double(wantedHeight) / measured))));
    const QFontMetrics metrics(m_font);
    m_cellWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('X')));
    m_cellHeight = std::max(1, metrics.height());
    m_ascent = metrics.ascent();
}

CSize QtFont::TextExtent(std::string_view bytes) const
{
    // Every byte is one cell.
    return {static_cast<int>(bytes.size()) * m_cellWidth, m_cellHeight};
}

}  // namespace platform::qt
