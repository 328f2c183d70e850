#pragma once

#include "buffer/text_position.h"

#include <cstdint>
#include <string>
#include <vector>

namespace UndoRecordFlag {
enum Flag : std::uint32_t {
    Inserted = 0x0001,    // an insertion; clear for a deletion
    GroupStart = 0x0100,  // the first record of an undo group
};
}  // namespace UndoRecordFlag

// One recorded edit. For an insertion, end is the position just after the inserted text; for a
// deletion, the end of the removed range as it was before the removal. The text is the inserted
// text, or the removed text with "\r\n" between its lines (short texts live inside the string
// object, so typing allocates nothing).
struct UndoRecord {
    std::uint32_t flags = 0;
    TextPosition start;
    TextPosition end;
    std::int32_t action = 0;
    std::string text;
    // The lengths of the removed line pieces, kept only when one of them holds a carriage return
    // itself: re-inserting the joined text would then break lines where the original had none.
    std::vector<std::int32_t> pieceLengths;

    bool IsInsertion() const { return (flags & UndoRecordFlag::Inserted) != 0; }
    bool StartsGroup() const { return (flags & UndoRecordFlag::GroupStart) != 0; }
};
