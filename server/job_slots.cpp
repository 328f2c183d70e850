#include "job_slots.h"

namespace torvel {

JobSlots::Slot JobSlots::Acquire()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_free > 0; });
    --m_free;
    return Slot(*this);
}

void JobSlots::Release()
{
    {
        const std::lock_guard lock(m_mutex);
        ++m_free;
    }
    m_changed.notify_one();
}

}  // namespace torvel
