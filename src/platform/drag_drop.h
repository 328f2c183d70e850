#pragma once

#include "platform/geometry.h"
#include "platform/win_types.h"

#include <optional>
#include <string>

class CWnd;

using DROPEFFECT = DWORD;
constexpr DROPEFFECT DROPEFFECT_NONE = 0;
constexpr DROPEFFECT DROPEFFECT_COPY = 1;
constexpr DROPEFFECT DROPEFFECT_MOVE = 2;

// The data of a drag as a drop target sees it: plain text (Unicode, in UTF-8) or nothing.
class COleDataObject {
public:
    explicit COleDataObject(std::optional<std::string> text);
    bool HasText() const { return m_text.has_value(); }
    std::optional<std::string> GetText() const { return m_text; }

private:
    std::optional<std::string> m_text;
};

// A window's drop target. `keyState` carries MK_CONTROL, MK_SHIFT and the mouse buttons; points are
// in the window's client coordinates.
class COleDropTarget {
public:
    virtual ~COleDropTarget();
    // Makes the window accept drops through this object; false when it already has a target.
    bool Register(CWnd* window);
    void Revoke();
    // The target registered for a window; null when none.
    static COleDropTarget* ForWindow(const CWnd* window);

    virtual DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave(CWnd* window);
    virtual bool OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point);
    // Called repeatedly while the pointer is over the window.
    virtual DROPEFFECT OnDragScroll(CWnd* window, DWORD keyState, CPoint point);

private:
    CWnd* m_window = nullptr;
};

// The source of a drag: plain text offered with the allowed effects.
class COleDataSource {
public:
    void CacheText(std::string text) { m_text = std::move(text); }
    // Runs the drag until the drop or its cancellation; returns the effect the target chose.
    DROPEFFECT DoDragDrop(CWnd* source, DROPEFFECT allowedEffects);

private:
    std::string m_text;
};
