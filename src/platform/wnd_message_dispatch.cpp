#include "platform/wnd.h"

#include "platform/cmd_ui.h"
#include "platform/dc.h"

// How a window's messages reach its handlers, and what the handlers do by default.

namespace {

CPoint PointOf(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

UINT RepeatCount(LPARAM lParam)
{
    const UINT count = LOWORD(static_cast<std::uintptr_t>(lParam));
    return count == 0 ? 1 : count;
}

UINT KeyFlags(LPARAM lParam)
{
    return HIWORD(static_cast<std::uintptr_t>(lParam));
}

}  // namespace

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        return OnCommand(wParam, lParam) ? 0 : 1;
    if (auto mapped = m_messageMap.find(message); mapped != m_messageMap.end())
        return mapped->second(wParam, lParam);
    if (auto result = DispatchWindowMessage(message, wParam, lParam))
        return *result;
    if (auto result = DispatchMouseMessage(message, wParam, lParam))
        return *result;
    if (auto result = DispatchKeyMessage(message, wParam, lParam))
        return *result;
    return 0;
}

std::optional<LRESULT> CWnd::DispatchWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCT*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<CDC*>(wParam)) ? 1 : 0;
    case WM_SETFOCUS:
        OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(static_cast<std::uintptr_t>(lParam)),
                           HIWORD(static_cast<std::uintptr_t>(lParam)))
                   ? 1
                   : 0;
    case WM_CONTEXTMENU:
        OnContextMenu(FromHandle(reinterpret_cast<HWND>(wParam)), PointOf(lParam));
        return 0;
    case WM_SYSCOLORCHANGE:
        OnSysColorChange();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_ENABLE:
        OnEnable(wParam != 0);
        return 0;
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> CWnd::DispatchMouseMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto flags = static_cast<UINT>(wParam);
    switch (message) {
    case WM_LBUTTONDOWN:
        OnLButtonDown(flags, PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(flags, PointOf(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(flags, PointOf(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(flags, PointOf(lParam));
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp(flags, PointOf(lParam));
        return 0;
    case WM_MBUTTONDOWN:
        OnMButtonDown(flags, PointOf(lParam));
        return 0;
    case WM_MBUTTONUP:
        OnMButtonUp(flags, PointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(flags, PointOf(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        return OnMouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), PointOf(lParam)) ? 1 : 0;
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> CWnd::DispatchKeyMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto key = static_cast<UINT>(wParam);
    switch (message) {
    case WM_KEYDOWN:
        OnKeyDown(key, RepeatCount(lParam), KeyFlags(lParam));
        return 0;
    case WM_KEYUP:
        OnKeyUp(key, RepeatCount(lParam), KeyFlags(lParam));
        return 0;
    case WM_CHAR:
        OnChar(key, RepeatCount(lParam), KeyFlags(lParam));
        return 0;
    case WM_SYSKEYDOWN:
        OnSysKeyDown(key, RepeatCount(lParam), KeyFlags(lParam));
        return 0;
    case WM_SYSCHAR:
        OnSysChar(key, RepeatCount(lParam), KeyFlags(lParam));
        return 0;
    default:
        return std::nullopt;
    }
}

bool CWnd::PreTranslateMessage(MSG*)
{
    return false;
}

void CWnd::MapMessage(UINT message, MessageHandler handler)
{
    m_messageMap[message] = std::move(handler);
}

bool CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (lParam == 0) {
        if (id == 0)
            return false;
        // A menu entry or key may be stale: run the command only while its handlers enable it.
        CCmdUI state;
        state.m_nID = id;
        OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state);
        if (!state.m_bEnabled)
            return true;
        code = CN_COMMAND;
    }
    return OnCmdMsg(id, code, nullptr);
}

void CWnd::NotifyParent(UINT notificationCode)
{
    if (m_parent != nullptr)
        m_parent->SendMessage(WM_COMMAND, MAKEWPARAM(m_id, notificationCode), reinterpret_cast<LPARAM>(m_hWnd));
}

int CWnd::OnCreate(CREATESTRUCT*)
{
    return 0;
}

void CWnd::OnSize(UINT, int, int) {}

void CWnd::OnPaint()
{
    CPaintDC dc(this);
}

bool CWnd::OnEraseBkgnd(CDC*)
{
    return false;
}

void CWnd::OnSetFocus(CWnd*) {}

void CWnd::OnKillFocus(CWnd*) {}

void CWnd::OnKeyDown(UINT, UINT, UINT) {}

void CWnd::OnKeyUp(UINT, UINT, UINT) {}

void CWnd::OnChar(UINT, UINT, UINT) {}

void CWnd::OnSysKeyDown(UINT, UINT, UINT) {}

void CWnd::OnSysChar(UINT, UINT, UINT) {}

void CWnd::OnLButtonDown(UINT, CPoint) {}

void CWnd::OnLButtonUp(UINT, CPoint) {}

void CWnd::OnLButtonDblClk(UINT, CPoint) {}

void CWnd::OnRButtonDown(UINT, CPoint) {}

void CWnd::OnMButtonDown(UINT, CPoint) {}

void CWnd::OnMButtonUp(UINT, CPoint) {}

void CWnd::OnRButtonUp(UINT, CPoint point)
{
    // Releasing the right button asks for a context menu, at the pointer in screen coordinates.
    ClientToScreen(&point);
    SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(point.x, point.y));
}

void CWnd::OnMouseMove(UINT, CPoint) {}

bool CWnd::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    // Not handled here: the parent may scroll.
    if (m_parent == nullptr)
        return false;
    return m_parent->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(flags, static_cast<unsigned short>(delta)),
                                 MAKELPARAM(point.x, point.y))
        != 0;
}

void CWnd::OnTimer(UINT_PTR) {}

void CWnd::OnVScroll(UINT, UINT) {}

void CWnd::OnHScroll(UINT, UINT) {}

bool CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return false;
}

void CWnd::OnContextMenu(CWnd*, CPoint) {}

void CWnd::OnSysColorChange()
{
    for (CWnd* child : m_children)
        child->SendMessage(WM_SYSCOLORCHANGE);
}

void CWnd::OnClose()
{
    DestroyWindow();
}

void CWnd::OnEnable(bool) {}
