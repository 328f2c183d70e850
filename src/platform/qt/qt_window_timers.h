#pragma once

#include "platform/win_types.h"

#include <QTimer>

#include <map>
#include <memory>

class CWnd;

namespace platform::qt {

// The numbered timers of a window: each sends WM_TIMER with its number to the window while it runs.
class QtWindowTimers {
public:
    explicit QtWindowTimers(CWnd& window) : m_window(window) {}

    void Start(UINT_PTR id, UINT milliseconds);
    // Stopped, not deleted: the call may come from the timer's own signal.
    void Stop(UINT_PTR id);
    // Deletes every timer, so none fires into a window being taken down.
    void Clear() { m_timers.clear(); }

private:
    CWnd& m_window;
    std::map<UINT_PTR, std::unique_ptr<QTimer>> m_timers;
};

}  // namespace platform::qt
