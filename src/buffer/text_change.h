#pragma once

#include "buffer/text_position.h"

// One edit, passed to the views with its notification so that they can move the positions they keep
// (caret, selection, top line) to where the same text lies after the edit.
class TextChange {
public:
    TextChange(TextPosition start, TextPosition end) : m_start(start), m_end(end) {}
    virtual ~TextChange() = default;

    TextPosition Start() const { return m_start; }
    TextPosition End() const { return m_end; }

    virtual void AdjustPosition(TextPosition& position) const = 0;

protected:
    TextChange(const TextChange&) = default;
    TextChange& operator=(const TextChange&) = default;

    TextPosition m_start;
    TextPosition m_end;
};

// Text was inserted at start; end is the position just after the inserted text.
class InsertionChange final : public TextChange {
public:
    using TextChange::TextChange;

    // A position exactly at the insertion point stays in front of the inserted text.
    void AdjustPosition(TextPosition& position) const override;
};

// The text from start to end (as it was before the removal) was removed.
class DeletionChange final : public TextChange {
public:
    using TextChange::TextChange;

    // A position inside the removed range collapses to its start.
    void AdjustPosition(TextPosition& position) const override;
};
