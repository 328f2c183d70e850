#include "platform/wnd.h"

#include "platform/backend.h"
#include "platform/cmd_ui.h"
#include "platform/dc.h"
#include "platform/font.h"
#include "platform/frame_wnd.h"
#include "platform/message_queue.h"
#include "platform/system_services.h"

#include <algorithm>
#include <mutex>

namespace {

// Live windows by handle. Handles are never reused, so a stale one finds nothing.
class HandleRegistry {
public:
    HWND Register(CWnd* window)
    {
        std::lock_guard lock(m_mutex);
        auto handle = reinterpret_cast<HWND>(m_nextHandle++);
        m_windows[handle] = window;
        return handle;
    }
    void Unregister(HWND handle)
    {
        std::lock_guard lock(m_mutex);
        m_windows.erase(handle);
    }
    CWnd* Find(HWND handle)
    {
        std::lock_guard lock(m_mutex);
        auto found = m_windows.find(handle);
        return found == m_windows.end() ? nullptr : found->second;
    }

private:
    std::mutex m_mutex;
    std::map<HWND, CWnd*> m_windows;
    std::uintptr_t m_nextHandle = 0x100;
};

HandleRegistry& Handles()
{
    static HandleRegistry registry;
    return registry;
}

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

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
}

bool CWnd::Create(CWnd* parent, UINT id, DWORD style, const CRect& rect)
{
    platform::WindowCreation creation;
    creation.kind = platform::WindowKind::Painted;
    creation.create.hwndParent = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    creation.create.id = id;
    creation.create.style = style;
    creation.create.x = rect.left;
    creation.create.y = rect.top;
    creation.create.cx = rect.Width();
    creation.create.cy = rect.Height();
    return CreateWindowOfKind(creation);
}

bool CWnd::CreateWindowOfKind(platform::WindowCreation creation)
{
    if (m_hWnd != nullptr || !PreCreateWindow(creation.create))
        return false;
    CREATESTRUCT& create = creation.create;
    m_parent = FromHandle(create.hwndParent);
    m_id = create.id;
    m_enabled = (create.style & WS_DISABLED) == 0;
    m_hWnd = Handles().Register(this);
    creation.window = this;
    creation.parent = m_parent != nullptr ? m_parent->Peer() : nullptr;
    auto& backend = platform::Backend::Current();
    if (creation.kind == platform::WindowKind::Frame)
        m_peer = backend.CreateFramePeer(creation);
    else
        m_peer = backend.CreateWindowPeer(creation);
    if (m_parent != nullptr)
        m_parent->m_children.push_back(this);
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow();
        return false;
    }
    const CRect client = m_peer->ClientRect();
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    if ((create.style & WS_VISIBLE) != 0)
        ShowWindow(SW_SHOW);
    return true;
}

bool CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return true;
}

bool CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return false;
    SendMessage(WM_DESTROY);
    const std::vector<CWnd*> children = m_children;
    for (CWnd* child : children)
        child->DestroyWindow();
    Detach();
    PostNcDestroy();
    return true;
}

void CWnd::Detach()
{
    if (focusWindow == this)
        focusWindow = nullptr;
    if (captureWindow == this)
        captureWindow = nullptr;
    if (caretOwner == this) {
        caretOwner = nullptr;
        caret = {};
    }
    m_peer.reset();
    Handles().Unregister(m_hWnd);
    m_hWnd = nullptr;
    if (m_parent != nullptr)
        std::erase(m_parent->m_children, this);
    m_parent = nullptr;
    m_children.clear();
}

CWnd* CWnd::FromHandle(HWND window)
{
    return window == nullptr ? nullptr : Handles().Find(window);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* window = m_parent; window != nullptr; window = window->m_parent) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(window))
            return frame;
    }
    return nullptr;
}

CWnd* CWnd::GetDlgItem(int id) const
{
    auto found = std::find_if(m_children.begin(), m_children.end(),
                              [id](const CWnd* child) { return static_cast<int>(child->m_id) == id; });
    return found == m_children.end() ? nullptr : *found;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

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

void CWnd::GetClientRect(CRect* rect) const
{
    *rect = m_peer != nullptr ? m_peer->ClientRect() : CRect();
}

void CWnd::GetWindowRect(CRect* rect) const
{
    GetClientRect(rect);
    const CPoint origin = m_peer != nullptr ? m_peer->ScreenOrigin() : CPoint();
    rect->OffsetRect(origin.x, origin.y);
}

void CWnd::ClientToScreen(CPoint* point) const
{
    if (m_peer != nullptr)
        *point = *point + CSize(m_peer->ScreenOrigin().x, m_peer->ScreenOrigin().y);
}

void CWnd::ScreenToClient(CPoint* point) const
{
    if (m_peer != nullptr)
        *point = *point - CSize(m_peer->ScreenOrigin().x, m_peer->ScreenOrigin().y);
}

bool CWnd::ShowWindow(int command)
{
    const bool wasVisible = m_visible;
    m_visible = command != SW_HIDE;
    if (m_peer != nullptr)
        m_peer->Show(command);
    return wasVisible;
}

void CWnd::SetWindowText(const std::string& text)
{
    if (m_peer != nullptr)
        m_peer->SetText(text);
}

void CWnd::GetWindowText(std::string& text) const
{
    text = GetWindowText();
}

std::string CWnd::GetWindowText() const
{
    return m_peer != nullptr ? m_peer->Text() : std::string();
}

bool CWnd::EnableWindow(bool enable)
{
    const bool wasDisabled = !m_enabled;
    if (m_enabled == enable)
        return wasDisabled;
    m_enabled = enable;
    if (m_peer != nullptr)
        m_peer->Enable(enable);
    SendMessage(WM_ENABLE, enable ? 1 : 0);
    return wasDisabled;
}

CFont* CWnd::GetFont() const
{
    return CFont::FromPeer(platform::Backend::Current().WindowFont());
}

void CWnd::Invalidate(EraseBackground erase)
{
    InvalidateRect(nullptr, erase);
}

void CWnd::InvalidateRect(const CRect* rect, EraseBackground erase)
{
    if (m_peer != nullptr)
        m_peer->Invalidate(rect, erase == EraseBackground::Yes);
}

void CWnd::UpdateWindow()
{
    if (m_peer != nullptr)
        m_peer->UpdateNow();
}

void CWnd::ScrollWindow(int dx, int dy, const CRect* scrollRect, const CRect* clipRect)
{
    if (m_peer != nullptr)
        m_peer->Scroll(dx, dy, scrollRect, clipRect);
}

int CWnd::SetScrollInfo(int bar, const SCROLLINFO* info, Redraw)
{
    SCROLLINFO& stored = m_scrollBars[bar == SB_VERT ? 1 : 0];
    if ((info->fMask & SIF_RANGE) != 0) {
        stored.nMin = info->nMin;
        stored.nMax = info->nMax;
    }
    if ((info->fMask & SIF_PAGE) != 0)
        stored.nPage = info->nPage;
    if ((info->fMask & SIF_POS) != 0)
        stored.nPos = info->nPos;
    stored.fMask = (stored.fMask & SIF_DISABLENOSCROLL) | (info->fMask & SIF_DISABLENOSCROLL);
    // As the window system does: the position stays where a whole page still fits.
    const int pageExtent = std::max(static_cast<int>(stored.nPage) - 1, 0);
    const int highest = std::max(stored.nMin, stored.nMax - pageExtent);
    stored.nPos = std::clamp(stored.nPos, stored.nMin, highest);
    if (m_peer != nullptr)
        m_peer->ShowScrollInfo(bar, stored);
    return stored.nPos;
}

bool CWnd::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask) const
{
    const SCROLLINFO& stored = m_scrollBars[bar == SB_VERT ? 1 : 0];
    info->fMask = mask;
    if ((mask & SIF_RANGE) != 0) {
        info->nMin = stored.nMin;
        info->nMax = stored.nMax;
    }
    if ((mask & SIF_PAGE) != 0)
        info->nPage = stored.nPage;
    if ((mask & SIF_POS) != 0)
        info->nPos = stored.nPos;
    if ((mask & SIF_TRACKPOS) != 0)
        info->nTrackPos = stored.nTrackPos;
    return true;
}

int CWnd::SetScrollPos(int bar, int position, Redraw redraw)
{
    const int previous = GetScrollPos(bar);
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(bar, &info, redraw);
    return previous;
}

int CWnd::GetScrollPos(int bar) const
{
    return m_scrollBars[bar == SB_VERT ? 1 : 0].nPos;
}

void CWnd::ReportScrollAction(int bar, UINT code, int trackPosition)
{
    m_scrollBars[bar == SB_VERT ? 1 : 0].nTrackPos = trackPosition;
    const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    SendMessage(message, MAKEWPARAM(code, static_cast<unsigned>(trackPosition)), 0);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT milliseconds)
{
    if (m_peer == nullptr)
        return 0;
    m_peer->StartTimer(id, milliseconds);
    return id;
}

bool CWnd::KillTimer(UINT_PTR id)
{
    if (m_peer == nullptr)
        return false;
    m_peer->StopTimer(id);
    return true;
}

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

void CWnd::SetDlgItemText(int id, const std::string& text)
{
    if (CWnd* item = GetDlgItem(id))
        item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int id, std::string& text) const
{
    CWnd* item = GetDlgItem(id);
    text = item != nullptr ? item->GetWindowText() : std::string();
    return static_cast<int>(text.size());
}

void CWnd::CheckDlgButton(int id, UINT check)
{
    if (CWnd* item = GetDlgItem(id); item != nullptr && item->m_peer != nullptr)
        item->m_peer->SetCheck(static_cast<int>(check));
}

UINT CWnd::IsDlgButtonChecked(int id) const
{
    CWnd* item = GetDlgItem(id);
    return item != nullptr && item->m_peer != nullptr ? static_cast<UINT>(item->m_peer->Check()) : 0;
}

void CWnd::MapDialogRect(CRect* rect) const
{
    const CSize units = platform::Backend::Current().DialogBaseUnits();
    *rect = CRect(rect->left * units.cx / 4, rect->top * units.cy / 8, rect->right * units.cx / 4,
                  rect->bottom * units.cy / 8);
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

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (platform::message_queue::IsUserInterfaceThread()) {
        CWnd* target = CWnd::FromHandle(window);
        return target != nullptr ? target->WindowProc(message, wParam, lParam) : 0;
    }
    LRESULT result = 0;
    platform::message_queue::Send([&] {
        if (CWnd* target = CWnd::FromHandle(window))
            result = target->WindowProc(message, wParam, lParam);
    });
    return result;
}

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == nullptr)
        return false;
    platform::message_queue::Post([=] {
        if (CWnd* target = CWnd::FromHandle(window))
            target->WindowProc(message, wParam, lParam);
    });
    return true;
}
