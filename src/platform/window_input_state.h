#pragma once

class CWnd;

namespace platform {

// A window that goes away stops having the focus, the mouse capture and the caret, without messages.
void ForgetInputState(const CWnd& window);

}  // namespace platform
