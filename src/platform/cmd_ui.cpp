#include "platform/cmd_ui.h"

#include "platform/cmd_target.h"
#include "platform/messages.h"

void CCmdUI::Enable(bool on)
{
    m_bEnabled = on;
    m_bEnableChanged = true;
}

void CCmdUI::SetCheck(int check)
{
    m_nCheck = check;
}

void CCmdUI::SetText(const std::string&) {}

bool CCmdUI::DoUpdate(CCmdTarget* target, Unhandled whenUnhandled)
{
    m_bEnableChanged = false;
    const bool updated = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (!m_bEnableChanged && whenUnhandled == Unhandled::Disable)
        Enable(target->OnCmdMsg(m_nID, CN_QUERY_HANDLER, nullptr));
    return updated;
}
