#include "app/window/running_jobs.h"

#include "platform/messages.h"
#include "platform/wnd.h"

#include <mutex>

namespace running_jobs {

namespace {

std::mutex countMutex;
int runningCount = 0;
HWND closeWhenEnded = nullptr;

// Under the lock: the window that waits for the end of the last job, taken from the record.
HWND TakeWaitingWindowIfNoneRuns()
{
    if (runningCount > 0)
        return nullptr;
    HWND window = closeWhenEnded;
    closeWhenEnded = nullptr;
    return window;
}

void CloseIfSet(HWND window)
{
    // A window closed meanwhile finds nothing: the handle is not reused.
    if (window != nullptr)
        ::PostMessage(window, WM_CLOSE);
}

}  // namespace

Registration::Registration()
{
    const std::lock_guard lock(countMutex);
    ++runningCount;
}

Registration::~Registration()
{
    HWND window = nullptr;
    {
        const std::lock_guard lock(countMutex);
        --runningCount;
        window = TakeWaitingWindowIfNoneRuns();
    }
    CloseIfSet(window);
}

int Count()
{
    const std::lock_guard lock(countMutex);
    return runningCount;
}

void CloseWhenAllEnded(HWND window)
{
    HWND ready = nullptr;
    {
        const std::lock_guard lock(countMutex);
        closeWhenEnded = window;
        ready = TakeWaitingWindowIfNoneRuns();
    }
    CloseIfSet(ready);
}

void ForgetPendingClose()
{
    const std::lock_guard lock(countMutex);
    closeWhenEnded = nullptr;
}

}  // namespace running_jobs
