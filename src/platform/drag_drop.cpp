#include "platform/drag_drop.h"

#include "platform/backend.h"
#include "platform/wnd.h"

#include <map>

namespace {

std::map<const CWnd*, COleDropTarget*>& Targets()
{
    static std::map<const CWnd*, COleDropTarget*> targets;
    return targets;
}

}  // namespace

COleDataObject::COleDataObject(std::optional<std::string> text) : m_text(std::move(text)) {}

COleDropTarget::~COleDropTarget()
{
    Revoke();
}

bool COleDropTarget::Register(CWnd* window)
{
    if (m_window != nullptr || window == nullptr || window->Peer() == nullptr)
        return false;
    if (!Targets().emplace(window, this).second)
        return false;
    m_window = window;
    window->Peer()->AcceptDrops(true);
    return true;
}

void COleDropTarget::Revoke()
{
    if (m_window == nullptr)
        return;
    Targets().erase(m_window);
    if (m_window->Peer() != nullptr)
        m_window->Peer()->AcceptDrops(false);
    m_window = nullptr;
}

COleDropTarget* COleDropTarget::ForWindow(const CWnd* window)
{
    auto found = Targets().find(window);
    return found == Targets().end() ? nullptr : found->second;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd*) {}

bool COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint)
{
    return false;
}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDataSource::DoDragDrop(CWnd* source, DROPEFFECT allowedEffects)
{
    return platform::Backend::Current().RunDragLoop(*source, m_text, allowedEffects);
}
