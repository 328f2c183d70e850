#pragma once

#include "platform/menu.h"
#include "platform/win_types.h"

#include <string>

class CCmdTarget;

// The user-interface state of one command as its update handler sets it. This base only records
// whether it is enabled and checked, which is what a command about to run needs (it runs only when
// enabled); menu entries, tool buttons and status bar panes apply the state, texts included.
class CCmdUI {
public:
    virtual ~CCmdUI() = default;

    virtual void Enable(bool on = true);
    // 0 unchecked, 1 checked.
    virtual void SetCheck(int check = 1);
    virtual void SetText(const std::string& text);

    // Asks `target` to update this command. When no update handler enabled or disabled it and
    // `whenUnhandled` is Disable, it is enabled exactly when some object has a handler for it, as
    // commands without handlers are greyed. Returns whether an update handler ran.
    enum class Unhandled { Leave, Disable };
    bool DoUpdate(CCmdTarget* target, Unhandled whenUnhandled);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    // The menu (pop-up entries) the command belongs to when it is a menu entry, else null.
    platform::Menu* m_pMenu = nullptr;

    bool m_bEnableChanged = false;
    bool m_bEnabled = true;
    int m_nCheck = 0;
};

