#pragma once

#include <functional>

namespace platform {

// The queue of the user-interface thread. Window messages sent or posted from other threads wait
// here until that thread takes them; the backend is woken for each.
namespace message_queue {

// Marks the calling thread as the user-interface thread (done by the backend's constructor).
void BindUserInterfaceThread();
bool IsUserInterfaceThread();

// Runs `task` on the user-interface thread later.
void Post(std::function<void()> task);
// Runs `task` on the user-interface thread and returns when it has run; called on that thread, it
// runs at once. From another thread while no backend exists it throws std::logic_error.
void Send(const std::function<void()>& task);
// Runs the tasks waiting now; returns how many ran. User-interface thread only.
int ProcessPending();
// Drops every waiting task, releasing blocked senders (their message yields 0); used when the
// backend goes away.
void DiscardPending();

}  // namespace message_queue
}  // namespace platform
