#include "platform/message_queue.h"

#include "platform/backend.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace platform::message_queue {
namespace {

// A sent task with the flag its sender waits for.
struct Completion {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;

    void Signal()
    {
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        finished.notify_all();
    }
};

struct Entry {
    std::function<void()> task;
    std::shared_ptr<Completion> completion;  // null for posted tasks
};

std::mutex queueMutex;
std::deque<Entry> queue;
std::thread::id userInterfaceThread;

void Enqueue(Entry entry)
{
    {
        std::lock_guard lock(queueMutex);
        queue.push_back(std::move(entry));
    }
    if (Backend::Exists())
        Backend::Current().WakeUserInterfaceThread();
}

}  // namespace

void BindUserInterfaceThread()
{
    std::lock_guard lock(queueMutex);
    userInterfaceThread = std::this_thread::get_id();
}

bool IsUserInterfaceThread()
{
    std::lock_guard lock(queueMutex);
    return userInterfaceThread == std::this_thread::get_id();
}

void Post(std::function<void()> task)
{
    Enqueue({std::move(task), nullptr});
}

void Send(const std::function<void()>& task)
{
    if (IsUserInterfaceThread()) {
        task();
        return;
    }
    // Without a window system nothing would ever take the task: waiting would never end.
    if (!Backend::Exists())
        throw std::logic_error("no user-interface thread runs: the message cannot be delivered");
    auto completion = std::make_shared<Completion>();
    Enqueue({task, completion});
    std::unique_lock lock(completion->mutex);
    completion->finished.wait(lock, [&] { return completion->done; });
}

int ProcessPending()
{
    std::deque<Entry> batch;
    {
        std::lock_guard lock(queueMutex);
        batch.swap(queue);
    }
    int count = 0;
    for (; !batch.empty(); batch.pop_front()) {
        Entry& entry = batch.front();
        ++count;
        try {
            entry.task();
        } catch (...) {
            // The sender is released; the tasks behind the failed one stay queued.
            if (entry.completion)
                entry.completion->Signal();
            batch.pop_front();
            std::lock_guard lock(queueMutex);
            queue.insert(queue.begin(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
            throw;
        }
        if (entry.completion)
            entry.completion->Signal();
    }
    return count;
}

void DiscardPending()
{
    std::deque<Entry> batch;
    {
        std::lock_guard lock(queueMutex);
        batch.swap(queue);
    }
    for (auto& entry : batch) {
        if (entry.completion)
            entry.completion->Signal();
    }
}

}  // namespace platform::message_queue
