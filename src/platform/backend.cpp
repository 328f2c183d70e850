#include "platform/backend.h"

#include "platform/message_queue.h"

#include <stdexcept>

namespace platform {
namespace {
Backend* currentBackend = nullptr;
}

Backend::Backend()
{
    if (currentBackend != nullptr)
        throw std::logic_error("a window-system backend exists already");
    currentBackend = this;
    message_queue::BindUserInterfaceThread();
}

Backend::~Backend()
{
    message_queue::DiscardPending();
    currentBackend = nullptr;
}

Backend& Backend::Current()
{
    if (currentBackend == nullptr)
        throw std::logic_error("no window-system backend exists");
    return *currentBackend;
}

bool Backend::Exists()
{
    return currentBackend != nullptr;
}

}  // namespace platform
