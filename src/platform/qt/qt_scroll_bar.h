#pragma once

#include <QRect>
#include <QScrollBar>

namespace platform::qt {

// A scroll bar that repaints only when what it shows changes. The window sets range and position
// on every edit, and Qt repaints a bar on every such call; in a long text one line more or less
// seldom moves the slider by a pixel.
class QuietScrollBar : public QScrollBar {
public:
    QuietScrollBar(Qt::Orientation orientation, QWidget* parent);

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What a paint shows that the slider's values decide.
    struct Look {
        QRect slider;
        bool atMinimum = false;
        bool atMaximum = false;
        bool operator==(const Look&) const = default;
    };

    Look CurrentLook() const;

    Look m_painted;
};

}  // namespace platform::qt
