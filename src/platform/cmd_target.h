#pragma once

#include "platform/messages.h"
#include "platform/win_types.h"

#include <functional>
#include <vector>

class CCmdUI;

// Root of the framework's objects: only for hints passed to views.
class CObject {
public:
    virtual ~CObject() = default;
};

// An object that handles commands through its command map: entries bind a command id or a range of
// ids (and, for control notifications, a notification code) to a handler, and update entries bind
// ids to the handler that sets their enabled, checked and text state.
class CCmdTarget : public CObject {
public:
    // With `code` CN_UPDATE_COMMAND_UI runs the update handler for `id` into `commandUi`; otherwise
    // runs the handler for command `id` with that notification code. Returns whether a handler of
    // this object (or of the objects it routes to) took it. Derived classes route further.
    virtual bool OnCmdMsg(UINT id, int code, CCmdUI* commandUi);

protected:
    using CommandHandler = std::function<void()>;
    using RangeHandler = std::function<void(UINT id)>;
    using UpdateHandler = std::function<void(CCmdUI* commandUi)>;

    void MapCommand(UINT id, CommandHandler handler);
    void MapCommandRange(UINT first, UINT last, RangeHandler handler);
    void MapNotification(UINT controlId, UINT notificationCode, CommandHandler handler);
    void MapUpdateCommandUI(UINT id, UpdateHandler handler);

    template <class Target>
    void MapCommand(UINT id, void (Target::*handler)())
    {
        MapCommand(id, [this, handler] { (static_cast<Target*>(this)->*handler)(); });
    }
    template <class Target>
    void MapCommandRange(UINT first, UINT last, void (Target::*handler)(UINT))
    {
        MapCommandRange(first, last, [this, handler](UINT id) { (static_cast<Target*>(this)->*handler)(id); });
    }
    template <class Target>
    void MapUpdateCommandUI(UINT id, void (Target::*handler)(CCmdUI*))
    {
        MapUpdateCommandUI(id, [this, handler](CCmdUI* commandUi) { (static_cast<Target*>(this)->*handler)(commandUi); });
    }

private:
    struct CommandEntry {
        UINT first = 0;
        UINT last = 0;
        int code = CN_COMMAND;
        RangeHandler command;
        UpdateHandler update;
    };
    // Handles the message from this object's own map only.
    bool DispatchOwnMap(UINT id, int code, CCmdUI* commandUi);

    std::vector<CommandEntry> m_commandMap;
};
