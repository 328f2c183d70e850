#include "platform/qt/qt_scroll_bar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace platform::qt {

QuietScrollBar::QuietScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

QuietScrollBar::Look QuietScrollBar::CurrentLook() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    // The arrows are drawn differently at either end.
    return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
            value() == minimum(), value() == maximum()};
}

void QuietScrollBar::sliderChange(SliderChange change)
{
    if (change != SliderOrientationChange && CurrentLook() == m_painted)
        return;
    QScrollBar::sliderChange(change);
}

void QuietScrollBar::paintEvent(QPaintEvent* event)
{
    m_painted = CurrentLook();
    QScrollBar::paintEvent(event);
}

}  // namespace platform::qt
