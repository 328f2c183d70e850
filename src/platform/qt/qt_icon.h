#pragma once

#include "platform/icon.h"

#include <QIcon>

namespace platform::qt {

// A program icon: a Qt icon drawn at a fixed size.
class QtIcon : public IconPeer {
public:
    QtIcon(QIcon icon, int pixels) : m_icon(std::move(icon)), m_pixels(pixels) {}
    CSize Size() const override { return {m_pixels, m_pixels}; }
    const QIcon& Icon() const { return m_icon; }
    int Pixels() const { return m_pixels; }

private:
    QIcon m_icon;
    int m_pixels;
};

}  // namespace platform::qt
