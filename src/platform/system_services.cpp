#include "platform/system_services.h"

#include "platform/backend.h"

COLORREF GetSysColor(int index)
{
    return platform::Backend::Current().SystemColour(index);
}

short GetKeyState(int virtualKey)
{
    auto& backend = platform::Backend::Current();
    unsigned short state = 0;
    if (backend.IsKeyDown(virtualKey))
        state |= 0x8000;
    if (backend.IsKeyToggled(virtualKey))
        state |= 0x0001;
    return static_cast<short>(state);
}

bool GetCursorPos(CPoint* point)
{
    *point = platform::Backend::Current().PointerPosition();
    return true;
}

bool MessageBeep(UINT)
{
    platform::Backend::Current().Beep();
    return true;
}
