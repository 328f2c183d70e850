#include "platform/qt/qt_window_timers.h"

#include "platform/messages.h"
#include "platform/wnd.h"

namespace platform::qt {

void QtWindowTimers::Start(UINT_PTR id, UINT milliseconds)
{
    auto& timer = m_timers[id];
    if (timer == nullptr) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id] { m_window.SendMessage(WM_TIMER, id); });
    }
    timer->start(static_cast<int>(milliseconds));
}

void QtWindowTimers::Stop(UINT_PTR id)
{
    if (auto found = m_timers.find(id); found != m_timers.end())
        found->second->stop();
}

}  // namespace platform::qt
