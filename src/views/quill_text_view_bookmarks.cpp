#include "views/quill_text_view.h"

#include "buffer/line_flags.h"
#include "platform/cmd_ui.h"
#include "views/editor_command_ids.h"

void CQuillTextView::MapBookmarkCommands()
{
    MapCommandRange(ID_EDIT_TOGGLE_BOOKMARK0, ID_EDIT_TOGGLE_BOOKMARK9, &CQuillTextView::OnToggleNumberedBookmark);
    MapCommandRange(ID_EDIT_GO_BOOKMARK0, ID_EDIT_GO_BOOKMARK9, &CQuillTextView::OnGoToNumberedBookmark);
    MapCommand(ID_EDIT_TOGGLE_BOOKMARK, &CQuillTextView::OnToggleBookmark);
    MapCommand(ID_EDIT_GOTO_NEXT_BOOKMARK, &CQuillTextView::OnNextBookmark);
    MapCommand(ID_EDIT_GOTO_PREV_BOOKMARK, &CQuillTextView::OnPreviousBookmark);
    MapCommand(ID_EDIT_CLEAR_ALL_BOOKMARKS, &CQuillTextView::OnClearAllBookmarks);
    for (UINT id : {ID_EDIT_GOTO_NEXT_BOOKMARK, ID_EDIT_GOTO_PREV_BOOKMARK, ID_EDIT_CLEAR_ALL_BOOKMARKS})
        MapUpdateCommandUI(id, &CQuillTextView::OnUpdateUnnumberedBookmarkCommand);
}

void CQuillTextView::OnToggleNumberedBookmark(UINT id)
{
    if (m_buffer == nullptr)
        return;
    const ::LineFlags flag = NumberedBookmarkFlag(static_cast<int>(id - ID_EDIT_TOGGLE_BOOKMARK0));
    const bool carried = (LineFlags(m_caretPos.line) & flag) != 0;
    m_buffer->SetLineFlag(m_caretPos.line, flag, carried ? FlagOperation::Clear : FlagOperation::Set,
                          FlagExclusivity::Exclusive);
}

void CQuillTextView::OnGoToNumberedBookmark(UINT id)
{
    if (m_buffer == nullptr)
        return;
    const int line = m_buffer->FindFlaggedLine(NumberedBookmarkFlag(static_cast<int>(id - ID_EDIT_GO_BOOKMARK0)));
    if (line >= 0)
        GoToBookmarkLine(line);
}

void CQuillTextView::OnToggleBookmark()
{
    if (m_buffer == nullptr)
        return;
    const bool carried = (LineFlags(m_caretPos.line) & UnnumberedBookmarkFlag) != 0;
    m_buffer->SetLineFlag(m_caretPos.line, UnnumberedBookmarkFlag, carried ? FlagOperation::Clear : FlagOperation::Set,
                          FlagExclusivity::Shared);
    m_anyUnnumberedBookmark = m_buffer->FindFlaggedLine(UnnumberedBookmarkFlag) >= 0;
}

void CQuillTextView::OnNextBookmark()
{
    if (m_buffer == nullptr)
        return;
    if (const int line = m_buffer->NextBookmarkLine(m_caretPos.line); line >= 0)
        GoToBookmarkLine(line);
}

void CQuillTextView::OnPreviousBookmark()
{
    if (m_buffer == nullptr)
        return;
    if (const int line = m_buffer->PrevBookmarkLine(m_caretPos.line); line >= 0)
        GoToBookmarkLine(line);
}

void CQuillTextView::OnClearAllBookmarks()
{
    if (m_buffer == nullptr)
        return;
    for (int line = 0, count = LineCount(); line < count; ++line) {
        if ((LineFlags(line) & UnnumberedBookmarkFlag) != 0)
            m_buffer->SetLineFlag(line, UnnumberedBookmarkFlag, FlagOperation::Clear, FlagExclusivity::Shared);
    }
    m_anyUnnumberedBookmark = false;
}

void CQuillTextView::OnUpdateUnnumberedBookmarkCommand(CCmdUI* commandUi)
{
    commandUi->Enable(m_anyUnnumberedBookmark);
}

void CQuillTextView::GoToBookmarkLine(int line)
{
    SetCaretPos({0, line});
    SelectRange(m_caretPos, m_caretPos);
    m_anchorPos = m_caretPos;
    BringIntoView(m_caretPos);
}
