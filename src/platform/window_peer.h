#pragma once

#include "platform/geometry.h"
#include "platform/messages.h"
#include "platform/win_types.h"

#include <string>

class CWnd;

namespace platform {

class DrawingSurface;
struct DialogItemTemplate;
struct DialogTemplate;

enum class WindowKind {
    Frame,    // the top-level window with menu, tool bar and status bar
    Painted,  // a child that paints itself through a device context (views, previews)
    Dialog,   // a modal dialog built from a template
    Control,  // a control of a dialog
};

// What the backend needs to make the native side of a window.
struct WindowCreation {
    CWnd* window = nullptr;
    WindowKind kind = WindowKind::Painted;
    class WindowPeer* parent = nullptr;
    CREATESTRUCT create;
    const DialogTemplate* dialog = nullptr;     // WindowKind::Dialog
    const DialogItemTemplate* control = nullptr;  // WindowKind::Control
};

// The caret as the framework keeps it; the backend draws it (2 px wide bars blink).
struct CaretState {
    bool exists = false;
    bool visible = false;
    bool grey = false;
    CRect rect;
};

// The device context of a paint: where to draw and which part needs it.
struct PaintContext {
    DrawingSurface* surface = nullptr;
    CRect paintRect;
    bool erase = false;
};

// The native side of one window. Everything a window does on screen goes through here; what it
// means (messages, routing, state) stays in the framework classes.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;

    virtual CRect ClientRect() const = 0;
    // Where the client area's top-left corner is on the screen.
    virtual CPoint ScreenOrigin() const = 0;
    virtual void Show(int command) = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual std::string Text() const = 0;
    virtual void Enable(bool enabled) = 0;

    virtual void Invalidate(const CRect* rect, bool erase) = 0;
    virtual void UpdateNow() = 0;
    // The paint in progress; only valid while the window handles WM_PAINT.
    virtual PaintContext CurrentPaint() = 0;
    virtual void Scroll(int dx, int dy, const CRect* scrollRect, const CRect* clipRect) = 0;
    // Shows the scroll bar's values; `SIF_DISABLENOSCROLL` in the mask asks for a disabled bar
    // instead of a hidden one when nothing scrolls.
    virtual void ShowScrollInfo(int bar, const SCROLLINFO& info) = 0;

    virtual void SetFocus() = 0;
    virtual void SetCapture(bool captured) = 0;
    virtual void StartTimer(UINT_PTR id, UINT milliseconds) = 0;
    virtual void StopTimer(UINT_PTR id) = 0;
    virtual void UpdateCaret(const CaretState& caret) = 0;
    // Whether text dragged over the window is offered to its drop target.
    virtual void AcceptDrops(bool accept) = 0;

    // Check boxes and radio buttons.
    virtual void SetCheck(int state) = 0;
    virtual int Check() const = 0;
};

}  // namespace platform
