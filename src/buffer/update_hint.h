#pragma once

#include <cstdint>

// What a change notification tells the views; the flags are combined in one 32-bit word.
namespace UpdateHint {
enum Flag : std::uint32_t {
    LineWidthChanged = 0x0001,  // characters of lines changed; the widest line may have changed
    LineCountChanged = 0x0002,  // lines were added or removed
    OneLine = 0x0100,           // only the line given with the notification changed
    FlagsOnly = 0x0200,         // only line flags changed, no text
    ContentReset = 0x1000,      // the whole text was replaced
};
}  // namespace UpdateHint
