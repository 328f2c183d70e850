#include "platform/accelerators.h"

#include "platform/resources.h"
#include "platform/system_services.h"
#include "platform/virtual_keys.h"
#include "platform/wnd.h"

namespace {

bool IsDown(int virtualKey)
{
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

bool Matches(const ACCEL& entry, WPARAM key)
{
    if ((entry.fVirt & FVIRTKEY) == 0 || entry.key != key)
        return false;
    return IsDown(VK_SHIFT) == ((entry.fVirt & FSHIFT) != 0) && IsDown(VK_CONTROL) == ((entry.fVirt & FCONTROL) != 0)
        && IsDown(VK_MENU) == ((entry.fVirt & FALT) != 0);
}

}  // namespace

HACCEL LoadAccelerators(UINT resourceId)
{
    return platform::resources::FindAccelerators(resourceId);
}

int TranslateAccelerator(HWND window, HACCEL table, const MSG* message)
{
    if (table == nullptr || (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN))
        return 0;
    for (const ACCEL& entry : table->entries) {
        if (!Matches(entry, message->wParam))
            continue;
        SendMessage(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
        return 1;
    }
    return 0;
}
