#pragma once

#include "platform/cmd_target.h"
#include "platform/geometry.h"
#include "platform/messages.h"
#include "platform/win_types.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDC;
class CFont;
class CFrameWnd;

namespace platform {
class WindowPeer;
struct WindowCreation;
}  // namespace platform

enum class EraseBackground { No, Yes };

// A window: the target of window messages, the owner of a native peer made by the backend. Standard
// messages reach the virtual handlers below; other messages (WM_USER + n) reach the handlers bound
// with MapMessage; WM_COMMAND reaches the command map (CCmdTarget).
class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // A child window that paints itself (kind Painted) under `parent`.
    bool Create(CWnd* parent, UINT id, DWORD style, const CRect& rect);
    // Sends WM_DESTROY to the children and the window, then removes its native side.
    virtual bool DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The live window of a handle; null once it is destroyed.
    static CWnd* FromHandle(HWND window);
    CWnd* GetParent() const { return m_parent; }
    // The nearest frame window above this one.
    CFrameWnd* GetParentFrame() const;
    CWnd* GetDlgItem(int id) const;
    UINT GetDlgCtrlID() const { return m_id; }
    const std::vector<CWnd*>& Children() const { return m_children; }

    // On the user-interface thread the message is handled at once; from another thread the call
    // waits until the user-interface thread has handled it. 0 when the window no longer exists.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queues the message for the user-interface thread; it is dropped if the window is gone by then.
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Keyboard messages pass here, from the target window up to the frame, before they are
    // dispatched; true when this window translated the message (it is then not dispatched).
    virtual bool PreTranslateMessage(MSG* message);

    void GetClientRect(CRect* rect) const;
    void GetWindowRect(CRect* rect) const;
    void ClientToScreen(CPoint* point) const;
    void ScreenToClient(CPoint* point) const;
    bool ShowWindow(int command);
    void SetWindowText(const std::string& text);
    void GetWindowText(std::string& text) const;
    std::string GetWindowText() const;
    bool EnableWindow(bool enable = true);
    bool IsWindowEnabled() const { return m_enabled; }
    // The font a window draws with when it was given none.
    CFont* GetFont() const;

    void Invalidate(EraseBackground erase = EraseBackground::Yes);
    void InvalidateRect(const CRect* rect, EraseBackground erase = EraseBackground::Yes);
    // Paints the invalid part now.
    void UpdateWindow();
    // Moves the pixels of `scrollRect` (default: the client area) by dx, dy, nothing outside
    // `clipRect`, and invalidates what was uncovered.
    void ScrollWindow(int dx, int dy, const CRect* scrollRect = nullptr, const CRect* clipRect = nullptr);

    // Scroll bars: the framework keeps the values and the backend shows them.
    enum class Redraw { No, Yes };
    int SetScrollInfo(int bar, const SCROLLINFO* info, Redraw redraw = Redraw::Yes);
    bool GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL) const;
    int SetScrollPos(int bar, int position, Redraw redraw = Redraw::Yes);
    int GetScrollPos(int bar) const;
    // The backend reports a scroll bar action: the bar's track position is set and WM_VSCROLL or
    // WM_HSCROLL sent.
    void ReportScrollAction(int bar, UINT code, int trackPosition);

    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds);
    bool KillTimer(UINT_PTR id);

    CWnd* SetCapture();
    static CWnd* GetCapture();
    CWnd* SetFocus();
    static CWnd* GetFocus();
    // The backend reports that the keyboard focus moved to `window` (null: left the application):
    // WM_KILLFOCUS and WM_SETFOCUS are sent.
    static void ReportFocusChange(CWnd* window);

    // The caret: one per application, owned by the window that created it last.
    void CreateSolidCaret(int width, int height);
    void CreateGrayCaret(int width, int height);
    static void SetCaretPos(CPoint point);
    static CPoint GetCaretPos();
    void ShowCaret();
    void HideCaret();
    static void DestroyCaret();

    // Dialog controls below this window.
    void SetDlgItemText(int id, const std::string& text);
    int GetDlgItemText(int id, std::string& text) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    // Converts dialog units to pixels.
    void MapDialogRect(CRect* rect) const;

    // A control tells its parent about a change (EN_CHANGE) or a click (BN_CLICKED) by WM_COMMAND.
    void NotifyParent(UINT notificationCode);

    platform::WindowPeer* Peer() const { return m_peer.get(); }

protected:
    // Makes the window: PreCreateWindow, the native side, WM_CREATE (failing when OnCreate returns
    // -1), then WM_SIZE.
    bool CreateWindowOfKind(platform::WindowCreation creation);
    virtual bool PreCreateWindow(CREATESTRUCT& create);
    // Called last when the window is destroyed.
    virtual void PostNcDestroy() {}

    // Binds a message that has no virtual handler of its own (WM_USER + n and the frame messages).
    using MessageHandler = std::function<LRESULT(WPARAM, LPARAM)>;
    void MapMessage(UINT message, MessageHandler handler);
    template <class Target>
    void MapMessage(UINT message, LRESULT (Target::*handler)(WPARAM, LPARAM))
    {
        MapMessage(message, [this, handler](WPARAM w, LPARAM l) { return (static_cast<Target*>(this)->*handler)(w, l); });
    }

    // WM_COMMAND: from a menu, key table or tool button (code 0 or 1) the command runs only when its
    // update handlers leave it enabled; control notifications always reach the command map.
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);

    virtual int OnCreate(CREATESTRUCT* create);
    virtual void OnDestroy() {}
    virtual void OnSize(UINT type, int width, int height);
    virtual void OnPaint();
    // Returns whether the background was erased; otherwise it is filled with the window colour.
    virtual bool OnEraseBkgnd(CDC* dc);
    virtual void OnSetFocus(CWnd* oldWindow);
    virtual void OnKillFocus(CWnd* newWindow);
    virtual void OnKeyDown(UINT virtualKey, UINT repeatCount, UINT flags);
    virtual void OnKeyUp(UINT virtualKey, UINT repeatCount, UINT flags);
    virtual void OnChar(UINT character, UINT repeatCount, UINT flags);
    virtual void OnSysKeyDown(UINT virtualKey, UINT repeatCount, UINT flags);
    virtual void OnSysChar(UINT character, UINT repeatCount, UINT flags);
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnRButtonDown(UINT flags, CPoint point);
    // By default asks for a context menu (WM_CONTEXTMENU).
    virtual void OnRButtonUp(UINT flags, CPoint point);
    // The middle button, which pastes the primary selection on this system.
    virtual void OnMButtonDown(UINT flags, CPoint point);
    virtual void OnMButtonUp(UINT flags, CPoint point);
    virtual void OnMouseMove(UINT flags, CPoint point);
    // Returns whether the wheel was handled.
    virtual bool OnMouseWheel(UINT flags, short delta, CPoint point);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnVScroll(UINT code, UINT position);
    virtual void OnHScroll(UINT code, UINT position);
    // Returns whether a cursor was set; otherwise the arrow is shown.
    virtual bool OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    virtual void OnContextMenu(CWnd* window, CPoint point);
    virtual void OnSysColorChange();
    virtual void OnClose();
    virtual void OnEnable(bool enabled);

private:
    friend class CDialog;
    // Each returns nothing when the message is not one of its kind.
    std::optional<LRESULT> DispatchWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> DispatchMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> DispatchKeyMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    HWND m_hWnd = nullptr;
    std::unique_ptr<platform::WindowPeer> m_peer;
    CWnd* m_parent = nullptr;
    std::vector<CWnd*> m_children;
    UINT m_id = 0;
    bool m_enabled = true;
    bool m_visible = false;
    std::map<UINT, MessageHandler> m_messageMap;
    SCROLLINFO m_scrollBars[2];
};

// Message functions on window handles, for code that keeps a handle rather than the window.
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
bool ReleaseCapture();
