#pragma once

#include "buffer/quill_text_buffer.h"

// One undo group of a command that makes several edits. Close() ends it normally, telling the
// source view (EditNotify); when the command throws before that, the group is still closed, without
// telling anyone, so that every record made so far stays an undo step that matches the text.
class UndoGroup {
public:
    UndoGroup(CQuillTextBuffer& buffer, BufferView* source, UndoGroupMerge merge) : m_buffer(buffer), m_source(source)
    {
        m_buffer.OpenUndoGroup(merge);
    }
    ~UndoGroup()
    {
        if (m_open)
            m_buffer.CloseUndoGroup(nullptr);
    }
    UndoGroup(const UndoGroup&) = delete;
    UndoGroup& operator=(const UndoGroup&) = delete;

    void Close()
    {
        m_open = false;
        m_buffer.CloseUndoGroup(m_source);
    }

private:
    CQuillTextBuffer& m_buffer;
    BufferView* m_source;
    bool m_open = true;
};
