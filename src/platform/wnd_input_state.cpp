#include "platform/window_input_state.h"

#include "platform/window_peer.h"
#include "platform/wnd.h"

namespace {

// Focus, capture and caret belong to the user-interface thread, one of each at a time.
CWnd* focusWindow = nullptr;
CWnd* captureWindow = nullptr;
CWnd* caretOwner = nullptr;
platform::CaretState caret;

void ShowCaretState()
{
    if (caretOwner != nullptr && caretOwner->Peer() != nullptr)
        caretOwner->Peer()->UpdateCaret(caret);
}

void MakeCaret(CWnd* owner, int width, int height, bool grey)
{
    if (caretOwner != nullptr && caretOwner != owner)
        CWnd::DestroyCaret();
    caretOwner = owner;
    caret.exists = true;
    caret.visible = false;
    caret.grey = grey;
    caret.rect = CRect(caret.rect.TopLeft(), CSize(width, height));
    ShowCaretState();
}

}  // namespace

namespace platform {

void ForgetInputState(const CWnd& window)
{
    if (focusWindow == &window)
        focusWindow = nullptr;
    if (captureWindow == &window)
        captureWindow = nullptr;
    if (caretOwner == &window) {
        caretOwner = nullptr;
        caret = {};
    }
}

}  // namespace platform

CWnd* CWnd::SetCapture()
{
    CWnd* previous = captureWindow;
    if (previous != nullptr && previous != this && previous->m_peer != nullptr)
        previous->m_peer->SetCapture(false);
    captureWindow = this;
    if (m_peer != nullptr)
        m_peer->SetCapture(true);
    return previous;
}

CWnd* CWnd::GetCapture()
{
    return captureWindow;
}

bool ReleaseCapture()
{
    if (captureWindow == nullptr)
        return false;
    if (captureWindow->Peer() != nullptr)
        captureWindow->Peer()->SetCapture(false);
    captureWindow = nullptr;
    return true;
}

CWnd* CWnd::SetFocus()
{
    CWnd* previous = focusWindow;
    if (m_peer != nullptr)
        m_peer->SetFocus();
    return previous;
}

CWnd* CWnd::GetFocus()
{
    return focusWindow;
}

void CWnd::ReportFocusChange(CWnd* window)
{
    if (window == focusWindow)
        return;
    CWnd* previous = focusWindow;
    focusWindow = window;
    if (previous != nullptr)
        previous->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(window != nullptr ? window->m_hWnd : nullptr));
    if (window != nullptr && focusWindow == window)
        window->SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(previous != nullptr ? previous->m_hWnd : nullptr));
}

void CWnd::CreateSolidCaret(int width, int height)
{
    MakeCaret(this, width, height, false);
}

void CWnd::CreateGrayCaret(int width, int height)
{
    MakeCaret(this, width, height, true);
}

void CWnd::SetCaretPos(CPoint point)
{
    caret.rect = CRect(point, caret.rect.Size());
    ShowCaretState();
}

CPoint CWnd::GetCaretPos()
{
    return caret.rect.TopLeft();
}

void CWnd::ShowCaret()
{
    if (caretOwner != this)
        return;
    caret.visible = true;
    ShowCaretState();
}

void CWnd::HideCaret()
{
    if (caretOwner != this)
        return;
    caret.visible = false;
    ShowCaretState();
}

void CWnd::DestroyCaret()
{
    if (caretOwner == nullptr)
        return;
    caret.exists = false;
    caret.visible = false;
    ShowCaretState();
    caretOwner = nullptr;
}
