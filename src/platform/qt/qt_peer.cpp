#include "platform/qt/qt_peer.h"

#include <QWidget>

namespace platform::qt {

void QtPeer::AdoptChild(QWidget* child)
{
    child->setParent(Widget());
}

QWidget* WidgetOf(WindowPeer* peer)
{
    auto* qtPeer = dynamic_cast<QtPeer*>(peer);
    return qtPeer != nullptr ? qtPeer->Widget() : nullptr;
}

}  // namespace platform::qt
