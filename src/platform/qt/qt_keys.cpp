#include "platform/qt/qt_keys.h"

#include "platform/virtual_keys.h"

#include <QKeyEvent>

#include <map>

namespace platform::qt {

UINT VirtualKeyOf(const QKeyEvent& event)
{
    static const std::map<int, int> keys = {
        {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},        {Qt::Key_Backtab, VK_TAB},
        {Qt::Key_Return, VK_RETURN},  {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Shift, VK_SHIFT},
        {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},      {Qt::Key_Pause, VK_PAUSE},
        {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
        {Qt::Key_PageUp, VK_PRIOR},   {Qt::Key_PageDown, VK_NEXT},  {Qt::Key_End, VK_END},
        {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},      {Qt::Key_Up, VK_UP},
        {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},      {Qt::Key_Insert, VK_INSERT},
        {Qt::Key_Delete, VK_DELETE},  {Qt::Key_NumLock, VK_NUMLOCK},
    };
    const int key = event.key();
    if (auto found = keys.find(key); found != keys.end())
        return static_cast<UINT>(found->second);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<UINT>(VK_F1 + (key - Qt::Key_F1));
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<UINT>(key);
    // Other keys have no code of their own; the character they type still arrives.
    return 0;
}

std::u32string TextOf(const QKeyEvent& event)
{
    return event.text().toStdU32String();
}

}  // namespace platform::qt
