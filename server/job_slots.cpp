#include "job_slots.h"

namespace torvel {

JobSlots::Slot JobSlots::Acquire(const std::string& client)
{
    std::unique_lock lock(m_mutex);
    Waiter waiter{client};
    m_waiting.push_back(&waiter);
    GrantWaiting();
    m_changed.wait(lock, [&waiter] { return waiter.granted; });
    return Slot(*this, client);
}

void JobSlots::Release(const std::string& client)
{
    const std::lock_guard lock(m_mutex);
    ++m_free;
    if (--m_running[client] == 0)
        m_running.erase(client);
    GrantWaiting();
}

// Called with the mutex held.
void JobSlots::GrantWaiting()
{
    bool granted = false;
    for (auto waiter = m_waiting.begin(); waiter != m_waiting.end() && m_free > 0;) {
        const auto running = m_running.find((*waiter)->client);
        if (running != m_running.end() && running->second >= m_perClient) {
            ++waiter;
            continue;
        }
        ++m_running[(*waiter)->client];
        --m_free;
        (*waiter)->granted = true;
        waiter = m_waiting.erase(waiter);
        granted = true;
    }
    if (granted)
        m_changed.notify_all();
}

}  // namespace torvel
