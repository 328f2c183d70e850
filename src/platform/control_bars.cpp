#include "platform/control_bars.h"

#include "platform/cmd_ui.h"
#include "platform/command_ids.h"
#include "platform/frame_wnd.h"
#include "platform/framework_strings.h"

// A status bar pane's state: a disabled pane shows no text.
class StatusPaneCmdUI : public CCmdUI {
public:
    explicit StatusPaneCmdUI(CStatusBar& bar) : m_bar(bar) {}
    void Enable(bool on) override
    {
        CCmdUI::Enable(on);
        m_bar.m_panes[m_nIndex].enabled = on;
        m_bar.ShowPane(static_cast<int>(m_nIndex));
    }
    void SetCheck(int) override {}
    void SetText(const std::string& text) override
    {
        CCmdUI::SetText(text);
        m_bar.m_panes[m_nIndex].text = text;
        m_bar.ShowPane(static_cast<int>(m_nIndex));
    }

private:
    CStatusBar& m_bar;
};

// A tool button's state.
class ToolButtonCmdUI : public CCmdUI {
public:
    explicit ToolButtonCmdUI(CToolBar& bar) : m_bar(bar) {}
    void Enable(bool on) override
    {
        CCmdUI::Enable(on);
        m_bar.m_buttons[m_nIndex].enabled = on;
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        m_bar.m_buttons[m_nIndex].checked = check != 0;
    }
    void SetText(const std::string&) override {}

private:
    CToolBar& m_bar;
};

bool CStatusBar::Create(CFrameWnd* parent, UINT)
{
    if (parent->FramePeer() == nullptr)
        return false;
    m_frame = parent;
    parent->m_statusBar = this;
    return true;
}

bool CStatusBar::SetIndicators(const UINT* ids, int count)
{
    if (m_frame == nullptr)
        return false;
    m_panes.clear();
    for (int index = 0; index < count; ++index) {
        platform::StatusPaneState pane;
        pane.id = ids[index];
        if (pane.id != ID_SEPARATOR) {
            // The indicator's string is its text and gives the pane its width.
            pane.text = platform::LoadFrameworkString(pane.id);
            pane.sizeText = pane.text;
        }
        m_panes.push_back(pane);
    }
    m_frame->FramePeer()->SetStatusPanes(m_panes);
    return true;
}

bool CStatusBar::SetPaneText(int index, const std::string& text)
{
    if (index < 0 || index >= GetCount())
        return false;
    m_panes[static_cast<std::size_t>(index)].text = text;
    ShowPane(index);
    return true;
}

std::string CStatusBar::GetPaneText(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[static_cast<std::size_t>(index)].text : std::string();
}

void CStatusBar::ShowPane(int index)
{
    platform::StatusPaneState shown = m_panes[static_cast<std::size_t>(index)];
    if (!shown.enabled)
        shown.text.clear();
    m_frame->FramePeer()->UpdateStatusPane(index, shown);
}

void CStatusBar::UpdateCmdUI(CCmdTarget* target)
{
    for (std::size_t index = 0; index < m_panes.size(); ++index) {
        if (m_panes[index].id == ID_SEPARATOR)
            continue;
        StatusPaneCmdUI state(*this);
        state.m_nID = m_panes[index].id;
        state.m_nIndex = static_cast<UINT>(index);
        state.DoUpdate(target, CCmdUI::Unhandled::Leave);
    }
}

bool CToolBar::CreateEx(CFrameWnd* parent, DWORD, DWORD)
{
    if (parent->FramePeer() == nullptr)
        return false;
    m_frame = parent;
    parent->m_toolBar = this;
    return true;
}

bool CToolBar::LoadToolBar(UINT resourceId)
{
    const platform::ToolbarResource* toolbar = platform::resources::FindToolbar(resourceId);
    if (m_frame == nullptr || toolbar == nullptr)
        return false;
    m_buttons.clear();
    for (UINT command : toolbar->commands)
        m_buttons.push_back({command, true, false});
    m_frame->FramePeer()->SetToolbar(*toolbar);
    return true;
}

void CToolBar::UpdateCmdUI(CCmdTarget* target)
{
    for (std::size_t index = 0; index < m_buttons.size(); ++index) {
        if (m_buttons[index].id == ID_SEPARATOR)
            continue;
        ToolButtonCmdUI state(*this);
        state.m_nID = m_buttons[index].id;
        state.m_nIndex = static_cast<UINT>(index);
        state.DoUpdate(target, CCmdUI::Unhandled::Disable);
    }
    m_frame->FramePeer()->UpdateToolbar(m_buttons);
}
