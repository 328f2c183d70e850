#pragma once

#include "platform/messages.h"
#include "platform/win_types.h"

#include <vector>

// Key tables: a key with its modifiers bound to a command id.

constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt = FVIRTKEY;
    WORD key = 0;
    WORD cmd = 0;
};

namespace platform {
struct AcceleratorTable {
    std::vector<ACCEL> entries;
};
}  // namespace platform

using HACCEL = const platform::AcceleratorTable*;

// The key table resource with this id; null when there is none.
HACCEL LoadAccelerators(UINT resourceId);

// For a key-down message whose key and Shift, Ctrl and Alt state match an entry exactly: sends
// WM_COMMAND with the entry's command (notification code 1) to `window` and returns nonzero.
// Every other message returns 0 untouched.
int TranslateAccelerator(HWND window, HACCEL table, const MSG* message);
