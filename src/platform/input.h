#pragma once

#include "platform/geometry.h"
#include "platform/win_types.h"

#include <string_view>

class CWnd;

// How the backends hand user input to the framework, in the order the framework expects.
namespace platform::input {

// Offers a keyboard message for `target` to PreTranslateMessage of the target, its parents and the
// application; dispatches it when none translated it. Returns whether it was translated.
bool DeliverKeyboardMessage(CWnd& target, UINT message, WPARAM wParam, LPARAM lParam = 0);
// A key press: the key-down message (WM_SYSKEYDOWN while Alt is held), then, unless it was
// translated into a command, one character message (WM_SYSCHAR while Alt is held) per Unicode
// character the key types (none for a key that types nothing, such as a dead key).
void DeliverKeyPress(CWnd& target, UINT virtualKey, std::u32string_view text);
// Text an input method composed: one WM_CHAR per Unicode character, without key-down messages.
void DeliverComposedText(CWnd& target, std::u32string_view text);
// A mouse message at a point of `target`'s client area; goes to the window that captured the
// mouse, if any. A move first asks the window for its cursor (WM_SETCURSOR).
void DeliverMouseMessage(CWnd& target, UINT message, UINT keyFlags, CPoint point);
// A wheel turn over `target`: `delta` in multiples of WHEEL_DELTA per notch.
void DeliverMouseWheel(CWnd& target, UINT keyFlags, short delta, CPoint point);
// The key flags (MK_...) of the current keyboard and mouse state.
UINT CurrentKeyFlags();
// The application is idle: tool bar and status bar states are updated.
void RunIdle();

}  // namespace platform::input
