#pragma once

#include "platform/win_types.h"

class QKeyEvent;

namespace platform::qt {

// The virtual-key code of a key event (0 when the key has none) and the character it types (0 for
// none), as the window system's key-down and character messages carry them.
UINT VirtualKeyOf(const QKeyEvent& event);
unsigned char CharacterOf(const QKeyEvent& event);

}  // namespace platform::qt
