#pragma once

#include "platform/geometry.h"
#include "platform/win_types.h"

// System colours, keyboard and pointer state, and the message beep.

constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_GRAYTEXT = 17;

// Read at the moment of the call, so a changed colour scheme shows at the next paint.
COLORREF GetSysColor(int index);

// High bit set while the key is down; low bit set while a toggle key (Caps Lock) is on.
short GetKeyState(int virtualKey);

// The pointer position in screen coordinates.
bool GetCursorPos(CPoint* point);

constexpr UINT MB_OK = 0x0000;
bool MessageBeep(UINT type);
