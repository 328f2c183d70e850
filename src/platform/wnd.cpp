#include "platform/wnd.h"

#include "platform/backend.h"
#include "platform/font.h"
#include "platform/frame_wnd.h"
#include "platform/message_queue.h"
#include "platform/window_input_state.h"

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
    platform::ForgetInputState(*this);
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
