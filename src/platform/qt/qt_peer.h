#pragma once

#include "platform/window_peer.h"

class QWidget;

namespace platform::qt {

class QtBackend;

// What every Qt window peer offers its children: the widget to put them in.
class QtPeer {
public:
    virtual ~QtPeer() = default;
    virtual QWidget* Widget() const = 0;
    // Takes a child's widget (a frame makes its view the central widget).
    virtual void AdoptChild(QWidget* child);
};

// The widget of a parent peer; null for a top-level window.
QWidget* WidgetOf(WindowPeer* peer);

}  // namespace platform::qt
