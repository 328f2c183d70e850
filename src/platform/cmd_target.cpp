#include "platform/cmd_target.h"

#include "platform/cmd_ui.h"

bool CCmdTarget::OnCmdMsg(UINT id, int code, CCmdUI* commandUi)
{
    return DispatchOwnMap(id, code, commandUi);
}

void CCmdTarget::MapCommand(UINT id, CommandHandler handler)
{
    m_commandMap.push_back({id, id, CN_COMMAND, [handler = std::move(handler)](UINT) { handler(); }, {}});
}

void CCmdTarget::MapCommandRange(UINT first, UINT last, RangeHandler handler)
{
    m_commandMap.push_back({first, last, CN_COMMAND, std::move(handler), {}});
}

void CCmdTarget::MapNotification(UINT controlId, UINT notificationCode, CommandHandler handler)
{
    m_commandMap.push_back({controlId, controlId, static_cast<int>(notificationCode),
                            [handler = std::move(handler)](UINT) { handler(); }, {}});
}

void CCmdTarget::MapUpdateCommandUI(UINT id, UpdateHandler handler)
{
    m_commandMap.push_back({id, id, CN_UPDATE_COMMAND_UI, {}, std::move(handler)});
}

bool CCmdTarget::DispatchOwnMap(UINT id, int code, CCmdUI* commandUi)
{
    // A menu command and a button click share code 0; asking for a handler looks for those.
    const int wantedCode = code == CN_QUERY_HANDLER ? CN_COMMAND : code;
    for (const auto& entry : m_commandMap) {
        if (entry.code != wantedCode || id < entry.first || id > entry.last)
            continue;
        if (code == CN_QUERY_HANDLER)
            return true;
        if (code == CN_UPDATE_COMMAND_UI) {
            commandUi->m_nID = id;
            entry.update(commandUi);
        } else {
            entry.command(id);
        }
        return true;
    }
    return false;
}
