#include "platform/input.h"

#include "platform/cursor.h"
#include "platform/messages.h"
#include "platform/system_services.h"
#include "platform/view.h"
#include "platform/virtual_keys.h"
#include "platform/win_app.h"
#include "platform/wnd.h"

#include <vector>

namespace platform::input {
namespace {

bool IsDown(int virtualKey)
{
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

// The target and its parents by handle: a handler on the way may destroy windows.
std::vector<HWND> ChainOfParents(CWnd& target)
{
    std::vector<HWND> chain;
    for (CWnd* window = &target; window != nullptr; window = window->GetParent())
        chain.push_back(window->GetSafeHwnd());
    return chain;
}

}  // namespace

bool DeliverKeyboardMessage(CWnd& target, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG translated{target.GetSafeHwnd(), message, wParam, lParam};
    for (HWND handle : ChainOfParents(target)) {
        CWnd* window = CWnd::FromHandle(handle);
        if (window != nullptr && window->PreTranslateMessage(&translated))
            return true;
    }
    if (CWinApp* application = AfxGetApp(); application != nullptr && application->PreTranslateMessage(&translated))
        return true;
    SendMessage(translated.hwnd, message, wParam, lParam);
    return false;
}

void DeliverKeyPress(CWnd& target, UINT virtualKey, std::u32string_view text)
{
    const bool alt = IsDown(VK_MENU);
    const HWND handle = target.GetSafeHwnd();
    if (DeliverKeyboardMessage(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, 1))
        return;
    for (char32_t character : text) {
        // A handler on the way may have destroyed the window.
        CWnd* window = CWnd::FromHandle(handle);
        if (window == nullptr)
            return;
        DeliverKeyboardMessage(*window, alt ? WM_SYSCHAR : WM_CHAR, character, 1);
    }
}

void DeliverComposedText(CWnd& target, std::u32string_view text)
{
    const HWND handle = target.GetSafeHwnd();
    for (char32_t character : text) {
        CWnd* window = CWnd::FromHandle(handle);
        if (window == nullptr)
            return;
        DeliverKeyboardMessage(*window, WM_CHAR, character, 1);
    }
}

void DeliverMouseMessage(CWnd& target, UINT message, UINT keyFlags, CPoint point)
{
    CWnd* receiver = &target;
    if (CWnd* capture = CWnd::GetCapture(); capture != nullptr && capture != &target) {
        target.ClientToScreen(&point);
        capture->ScreenToClient(&point);
        receiver = capture;
    }
    // A view takes the focus when it is clicked.
    const bool buttonDown = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_LBUTTONDBLCLK;
    if (buttonDown && dynamic_cast<CView*>(receiver) != nullptr && CWnd::GetFocus() != receiver)
        receiver->SetFocus();
    if (message == WM_MOUSEMOVE && CWnd::GetCapture() == nullptr) {
        const LRESULT cursorSet = receiver->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(receiver->GetSafeHwnd()),
                                                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        if (cursorSet == 0)
            SetCursor(LoadStandardCursor(IDC_ARROW));
    }
    receiver->SendMessage(message, keyFlags, MAKELPARAM(point.x, point.y));
}

void DeliverMouseWheel(CWnd& target, UINT keyFlags, short delta, CPoint point)
{
    target.ClientToScreen(&point);
    target.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(keyFlags, static_cast<unsigned short>(delta)),
                       MAKELPARAM(point.x, point.y));
}

UINT CurrentKeyFlags()
{
    UINT flags = 0;
    if (IsDown(VK_SHIFT))
        flags |= MK_SHIFT;
    if (IsDown(VK_CONTROL))
        flags |= MK_CONTROL;
    if (IsDown(VK_LBUTTON))
        flags |= MK_LBUTTON;
    if (IsDown(VK_RBUTTON))
        flags |= MK_RBUTTON;
    if (IsDown(VK_MBUTTON))
        flags |= MK_MBUTTON;
    return flags;
}

void RunIdle()
{
    if (CWinApp* application = AfxGetApp())
        application->OnIdle(0);
}

}  // namespace platform::input
