#pragma once

#include "platform/win_types.h"

#include <string>

class QKeyEvent;

namespace platform::qt {

// The virtual-key code of a key event (0 when the key has none) and the Unicode characters it
// types (none for a dead key), as the window system's key-down and character messages carry them.
UINT VirtualKeyOf(const QKeyEvent& event);
std::u32string TextOf(const QKeyEvent& event);

}  // namespace platform::qt
