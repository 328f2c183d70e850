#pragma once

#include "platform/win_types.h"

// How many documentation jobs started from the window are still running, so that closing the
// window can wait for them, and the program does not tear down what a job still uses.
namespace running_jobs {

// Counts one job for its lifetime.
class Registration {
public:
    Registration();
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;
};

int Count();

// Posts WM_CLOSE to `window` once no job runs any more (at once when none runs now).
void CloseWhenAllEnded(HWND window);
// The window no longer waits to close.
void ForgetPendingClose();

}  // namespace running_jobs
