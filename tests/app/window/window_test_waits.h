#pragma once

#include "platform/frame_wnd.h"
#include "platform/headless/headless_backend.h"

#include <chrono>
#include <functional>

namespace app::testing {

// Whether the frame's menu shows the command enabled, as a user opening the menu would see it.
inline bool MenuCommandEnabled(platform::headless::HeadlessBackend& backend, CFrameWnd& frame, UINT command)
{
    const auto* entry = backend.OpenMenuEntry(frame, command);
    return entry != nullptr && entry->enabled;
}

// A job's thread waits for the window now and then, so waiting means pumping messages. Not every
// change wakes the pump (a job's thread ends without a message), so it looks often, for ten seconds.
inline bool PumpUntil(platform::headless::HeadlessBackend& backend, const std::function<bool()>& done)
{
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (backend.PumpUntil(done, 20ms))
            return true;
    }
    return false;
}

}  // namespace app::testing
