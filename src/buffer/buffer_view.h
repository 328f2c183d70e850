#pragma once

#include <cstdint>
#include <string_view>

class TextChange;

// What the buffer needs of a view attached to it. The buffer never owns its views: a view attaches
// itself when it is bound to the buffer and detaches before it is destroyed.
class BufferView {
public:
    virtual ~BufferView() = default;

    // Called for every change, in attach order, including the view that made it. change is null
    // when no positions move (flag changes, content resets); line is the first affected line, or -1
    // when the whole text is affected. hints are UpdateHint bits.
    virtual void OnBufferChanged(BufferView* source, const TextChange* change, std::uint32_t hints,
                                 std::int32_t line) = 0;

    // Called on the view that made an edit when its undo group closes, with the action code and
    // text of the last applied undo record. Edits made from here form an undo group of their own.
    virtual void EditNotify(std::int32_t action, std::string_view text) = 0;

protected:
    BufferView() = default;
    BufferView(const BufferView&) = default;
    BufferView& operator=(const BufferView&) = default;
};
