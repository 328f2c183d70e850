#pragma once

#include <cstdint>

// The window message that tells the starter of a job that it has finished (WM_USER+10),
// sent with both message parameters 0.
inline constexpr std::uint32_t finishedNotificationMessage = 0x0400 + 10;

// The window a job notifies at its end. The documentation system knows no windows, so the
// application adapts its view to this interface.
class JobNotificationWindow {
public:
    virtual ~JobNotificationWindow() = default;

    // Sends finishedNotificationMessage and returns only after the window has handled it.
    virtual void SendFinishedNotification() = 0;
};
