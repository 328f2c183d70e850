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

// The parts of a window peer that only painted views use: frames, dialogs and their controls are drawn
// by Qt itself, so painting, scrolling, timers, the caret and dropping do nothing for them.
template <class PeerInterface>
class QtUnpaintedPeer : public PeerInterface, public QtPeer {
public:
    void Invalidate(const CRect*, bool) override {}
    void UpdateNow() override {}
    PaintContext CurrentPaint() override { return {}; }
    void Scroll(int, int, const CRect*, const CRect*) override {}
    void ShowScrollInfo(int, const SCROLLINFO&) override {}
    void SetCapture(bool) override {}
    void StartTimer(UINT_PTR, UINT) override {}
    void StopTimer(UINT_PTR) override {}
    void UpdateCaret(const CaretState&) override {}
    void AcceptDrops(bool) override {}
    void SetCheck(int) override {}
    int Check() const override { return 0; }
};

// The widget of a parent peer; null for a top-level window.
QWidget* WidgetOf(WindowPeer* peer);

}  // namespace platform::qt
