#include "platform/headless/headless_window.h"

#include "platform/dialog_template.h"
#include "platform/headless/headless_backend.h"
#include "platform/list_pane.h"
#include "platform/system_services.h"
#include "platform/wnd.h"

namespace platform::headless {
namespace {

// A frame's client area when nothing else is asked for.
constexpr CSize DefaultFrameClient(640, 480);

}  // namespace

HeadlessWindow::HeadlessWindow(HeadlessBackend& backend, const WindowCreation& creation)
    : m_backend(backend), m_window(*creation.window), m_kind(creation.kind),
      m_parent(static_cast<HeadlessWindow*>(creation.parent)), m_control(creation.control),
      m_position(creation.create.x, creation.create.y), m_clientSize(creation.create.cx, creation.create.cy)
{
    if (m_kind == WindowKind::Frame)
        m_clientSize = DefaultFrameClient;
    if (m_control != nullptr)
        m_text = m_control->text;
    m_enabled = (creation.create.style & WS_DISABLED) == 0;
    m_screen = std::make_unique<CellSurface>(m_clientSize, GetSysColor(COLOR_WINDOW));
    m_backend.Register(this);
    if (m_kind == WindowKind::Painted || m_kind == WindowKind::Frame)
        Invalidate(nullptr, true);
}

HeadlessWindow::~HeadlessWindow()
{
    m_backend.Unregister(this);
}

CPoint HeadlessWindow::ScreenOrigin() const
{
    const CPoint parentOrigin = m_parent != nullptr ? m_parent->ScreenOrigin() : CPoint();
    return CPoint(parentOrigin.x + m_position.x, parentOrigin.y + m_position.y);
}

void HeadlessWindow::Resize(CSize size)
{
    if (size == m_clientSize)
        return;
    m_clientSize = size;
    m_screen = std::make_unique<CellSurface>(m_clientSize, GetSysColor(COLOR_WINDOW));
    m_invalid.SetRectEmpty();
    Invalidate(nullptr, true);
    m_window.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.cx, size.cy));
}

void HeadlessWindow::SetText(const std::string& text)
{
    if (text == m_text)
        return;
    m_text = text;
    if (m_control != nullptr && m_control->kind == DialogItemKind::Edit)
        m_window.NotifyParent(EN_CHANGE);
}

void HeadlessWindow::Invalidate(const CRect* rect, bool erase)
{
    CRect area = ClientRect();
    if (rect != nullptr)
        area.IntersectRect(area, *rect);
    if (area.IsRectEmpty())
        return;
    m_invalid.UnionRect(m_invalid, area);
    m_eraseWanted = m_eraseWanted || erase;
}

void HeadlessWindow::UpdateNow()
{
    if (m_invalid.IsRectEmpty() || m_painting)
        return;
    m_painting = true;
    m_screen->SetClip(m_invalid);
    m_window.SendMessage(WM_PAINT);
    m_screen->SetClip(std::nullopt);
    m_invalid.SetRectEmpty();
    m_eraseWanted = false;
    m_painting = false;
}

PaintContext HeadlessWindow::CurrentPaint()
{
    if (!m_painting)
        return {};
    return {m_screen.get(), m_invalid, m_eraseWanted};
}

void HeadlessWindow::Scroll(int dx, int dy, const CRect* scrollRect, const CRect* clipRect)
{
    const CRect client = ClientRect();
    CRect area = client;
    if (scrollRect != nullptr)
        area.IntersectRect(area, *scrollRect);
    CRect clip = client;
    if (clipRect != nullptr)
        clip.IntersectRect(clip, *clipRect);
    CRect target;
    target.IntersectRect(area, clip);
    m_screen->SetClip(target);
    m_screen->CopyFrom(CPoint(area.left + dx, area.top + dy), area.Size(), *m_screen, area.TopLeft());
    m_screen->SetClip(std::nullopt);
    // A part waiting to be painted holds stale pixels, and they moved: where they went must be
    // painted too.
    CRect stale;
    stale.IntersectRect(m_invalid, area);
    if (!stale.IsRectEmpty()) {
        stale.OffsetRect(dx, dy);
        stale.IntersectRect(stale, target);
        if (!stale.IsRectEmpty())
            Invalidate(&stale, m_eraseWanted);
    }
    // What the move uncovered must be painted again.
    CRect uncovered;
    if (dy > 0)
        uncovered = CRect(area.left, area.top, area.right, area.top + dy);
    else if (dy < 0)
        uncovered = CRect(area.left, area.bottom + dy, area.right, area.bottom);
    CRect sideways;
    if (dx > 0)
        sideways = CRect(area.left, area.top, area.left + dx, area.bottom);
    else if (dx < 0)
        sideways = CRect(area.right + dx, area.top, area.right, area.bottom);
    uncovered.UnionRect(uncovered, sideways);
    uncovered.IntersectRect(uncovered, target);
    if (!uncovered.IsRectEmpty())
        Invalidate(&uncovered, true);
}

void HeadlessWindow::ShowScrollInfo(int bar, const SCROLLINFO& info)
{
    m_scrollBars[bar == SB_VERT ? 1 : 0] = info;
}

bool HeadlessWindow::IsScrollBarEnabled(int bar) const
{
    const SCROLLINFO& info = ScrollBar(bar);
    return info.nMax - info.nMin + 1 > static_cast<int>(info.nPage) && info.nMax > info.nMin;
}

void HeadlessWindow::SetFocus()
{
    CWnd::ReportFocusChange(&m_window);
}

void HeadlessWindow::StartTimer(UINT_PTR id, UINT milliseconds)
{
    m_timers[id] = Timer{milliseconds, m_backend.Now() + milliseconds};
}

void HeadlessWindow::FireTimer(UINT_PTR id)
{
    auto timer = m_timers.find(id);
    if (timer == m_timers.end())
        return;
    timer->second.due += std::max<long long>(timer->second.interval, 1);
    m_window.SendMessage(WM_TIMER, id);
}

void HeadlessWindow::SetToolbar(const ToolbarResource& toolbar)
{
    m_toolButtons.clear();
    for (UINT command : toolbar.commands)
        m_toolButtons.push_back({command, true, false});
}

void HeadlessWindow::UpdateStatusPane(int index, const StatusPaneState& pane)
{
    if (index >= 0 && index < static_cast<int>(m_statusPanes.size()))
        m_statusPanes[static_cast<std::size_t>(index)] = pane;
}

void HeadlessWindow::ActivateListRow(int row)
{
    m_window.SendMessage(WM_LISTPANE_ACTIVATE, static_cast<WPARAM>(row), 0);
}

}  // namespace platform::headless
