#include "platform/wnd.h"

#include "platform/window_peer.h"

#include <algorithm>

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
