#include "platform/list_pane.h"

#include "platform/frame_wnd.h"

bool CListPane::Create(CFrameWnd* parent, std::string title, std::vector<std::string> columns)
{
    if (parent->FramePeer() == nullptr)
        return false;
    m_frame = parent;
    m_state.title = std::move(title);
    m_state.columns = std::move(columns);
    Show();
    return true;
}

void CListPane::SetRows(std::vector<std::vector<std::string>> rows)
{
    m_state.rows = std::move(rows);
    m_state.selectedRow = -1;
    Show();
}

void CListPane::SelectRow(int row)
{
    m_state.selectedRow = row >= 0 && row < RowCount() ? row : -1;
    Show();
}

void CListPane::Show()
{
    if (m_frame != nullptr)
        m_frame->FramePeer()->SetListPane(m_state);
}
