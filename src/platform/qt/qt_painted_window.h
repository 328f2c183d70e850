#pragma once

#include "platform/qt/qt_peer.h"
#include "platform/qt/qt_window_timers.h"

#include <QPointer>
#include <QRegion>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>

class QAbstractScrollArea;
class QPaintEvent;
class QScrollBar;

namespace platform::qt {

class PaintedWidget;

// A window that paints itself through a device context: a QAbstractScrollArea whose viewport is
// the client area, with the window's scroll bars (when its style asks for them) and the caret,
// which this peer draws (inverting, blinking every 500 ms).
class QtPaintedWindow : public WindowPeer, public QtPeer {
public:
    QtPaintedWindow(QtBackend& backend, const WindowCreation& creation);
    ~QtPaintedWindow() override;

    QWidget* Widget() const override;
    CRect ClientRect() const override;
    CPoint ScreenOrigin() const override;
    void Show(int command) override;
    void SetText(const std::string& text) override { m_text = text; }
    std::string Text() const override { return m_text; }
    void Enable(bool enabled) override;
    void Invalidate(const CRect* rect, bool erase) override;
    void UpdateNow() override;
    PaintContext CurrentPaint() override { return m_paint; }
    void Scroll(int dx, int dy, const CRect* scrollRect, const CRect* clipRect) override;
    void ShowScrollInfo(int bar, const SCROLLINFO& info) override;
    void SetFocus() override;
    void SetCapture(bool captured) override;
    void StartTimer(UINT_PTR id, UINT milliseconds) override;
    void StopTimer(UINT_PTR id) override;
    void UpdateCaret(const CaretState& caret) override;
    void AcceptDrops(bool accept) override;
    void SetCheck(int) override {}
    int Check() const override { return 0; }

private:
    friend class PaintedWidget;
    void Paint(QPaintEvent& event);
    void ScrollBarAction(int bar, QScrollBar& scrollBar, int action);
    // Gives a Qt scroll bar the range, page and position last shown for it.
    void SetScrollBar(int bar);
    QRect CaretRect() const;

    QtBackend& m_backend;
    CWnd& m_window;
    DWORD m_style;
    QPointer<PaintedWidget> m_widget;
    std::string m_text;
    PaintContext m_paint;
    bool m_eraseWanted = true;
    QRegion m_pending;
    bool m_settingScrollBar = false;
    // What the window last showed in each bar, horizontal then vertical, and the turn of the event
    // loop that sets it.
    std::optional<SCROLLINFO> m_scrollInfo[2];
    QTimer m_scrollBarUpdate;
    CaretState m_caret;
    bool m_caretBlinkOn = true;
    QTimer m_blink;
    QtWindowTimers m_timers{m_window};
};

}  // namespace platform::qt
