#pragma once

#include <condition_variable>
#include <list>
#include <map>
#include <mutex>
#include <string>

namespace torvel {

// At most `count` jobs run their tools at once, and at most `perClient` of them for one client
// address. Waiting jobs start in the order they came, each as soon as a slot is free and its client
// is below its share, so one client's queue never holds back another client's job.
class JobSlots {
public:
    JobSlots(unsigned count, unsigned perClient) : m_free(count), m_perClient(perClient) {}

    class Slot {
    public:
        Slot(JobSlots& slots, std::string client) : m_slots(slots), m_client(std::move(client)) {}
        Slot(const Slot&) = delete;
        Slot& operator=(const Slot&) = delete;
        ~Slot() { m_slots.Release(m_client); }

    private:
        JobSlots& m_slots;
        std::string m_client;
    };

    [[nodiscard]] Slot Acquire(const std::string& client);

private:
    struct Waiter {
        std::string client;
        bool granted = false;
    };

    void Release(const std::string& client);
    void GrantWaiting();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    unsigned m_free;
    unsigned m_perClient;
    std::map<std::string, unsigned> m_running;  // per client address
    std::list<Waiter*> m_waiting;               // oldest first
};

}  // namespace torvel
