#pragma once

#include <condition_variable>
#include <mutex>

namespace torvel {

// At most `count` jobs run their tools at once; the others wait their turn.
class JobSlots {
public:
    explicit JobSlots(unsigned count) : m_free(count) {}

    class Slot {
    public:
        explicit Slot(JobSlots& slots) : m_slots(slots) {}
        Slot(const Slot&) = delete;
        Slot& operator=(const Slot&) = delete;
        ~Slot() { m_slots.Release(); }

    private:
        JobSlots& m_slots;
    };

    [[nodiscard]] Slot Acquire();

private:
    void Release();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    unsigned m_free;
};

}  // namespace torvel
