#include "views/quill_edit_view.h"

#include "buffer/undo_action.h"
#include "buffer/undo_group.h"
#include "views/replace_dialog.h"
#include "views/search_settings.h"
#include "views/text_search.h"

void CQuillEditView::OnEditReplace()
{
    if (!IsEditable())
        return;
    CReplaceDialog dialog(*this);
    const SearchSettings settings = SearchSettings::Read(SearchSettingsSection::Replace);
    dialog.TakeSettings(settings);
    dialog.m_replaceText = settings.replaceText;
    if (HasSelection()) {
        GetSelection(dialog.m_blockBegin, dialog.m_blockEnd);
        dialog.m_currentPosition = dialog.m_blockBegin;
        dialog.m_scope = CReplaceDialog::Selection;
        dialog.m_selectionScopeEnabled = true;
    } else {
        dialog.m_scope = CReplaceDialog::WholeFile;
        dialog.m_currentPosition = CaretPos();
        dialog.m_selectionScopeEnabled = false;
    }

    SetSelectionVisibility(SelectionVisibility::Always);
    dialog.DoModal();
    SetSelectionVisibility(SelectionVisibility::WithFocus);

    // The block as the replacements changed it (a replacement at its end stays inside); the caret
    // stays where the last one left it.
    if (dialog.m_selectionScopeEnabled)
        SelectRange(dialog.m_blockBegin, dialog.m_blockEnd);
    SearchSettings remembered = dialog.Settings();
    remembered.replaceText = dialog.m_replaceText;
    remembered.Write(SearchSettingsSection::Replace);
}

bool CQuillEditView::ReplaceSelectedText(std::string_view text)
{
    if (!IsEditable())
        return true;
    if (HasSelection())
        DeleteSelectionText();
    const TextPosition start = CaretPos();
    const TextPosition end = InsertReplacement(start, text, UndoAction::Replace);
    SetCaretPos(end);
    SelectRange(start, end);
    BringIntoView(end);
    return true;
}

TextPosition CQuillEditView::InsertReplacement(TextPosition start, std::string_view text, std::int32_t action)
{
    if (text.empty())
        return start;
    std::int32_t endLine = start.line;
    std::int32_t endChar = start.character;
    Buffer()->InsertText(this, start.line, start.character, text, endLine, endChar, action);
    return {endChar, endLine};
}

void CQuillEditView::ReplaceAll(const TextSearch& search, FoundText first, std::string_view replacement, TextPosition& scopeEnd)
{
    if (!IsEditable())
        return;
    CQuillTextBuffer& buffer = *Buffer();
    TextPosition lastStart = first.position;
    TextPosition lastEnd = first.End();
    {
        // The view shows the end result once, not every replacement on the way.
        const DeferredUpdates deferred(*this);
        UndoGroup group(buffer, this, UndoGroupMerge::NewGroup);
        for (std::optional<FoundText> match = first; match;) {
            const std::string text = search.Substitute(*match, replacement);
            if (match->length > 0)
                buffer.DeleteText(this, match->position.line, match->position.character, match->position.line,
                                  match->End().character, UndoAction::ReplaceAll);
            const TextPosition insertedEnd = InsertReplacement(match->position, text, UndoAction::ReplaceAll);
            scopeEnd = PositionAfterReplacement(scopeEnd, *match, insertedEnd);
            lastStart = match->position;
            lastEnd = insertedEnd;
            // Past an empty match by one character, or it would be found again and again.
            const TextPosition next = match->length == 0 ? PositionAfterCharacter(insertedEnd) : insertedEnd;
            match = search.Downward(next, scopeEnd);
        }
        group.Close();
    }
    SetCaretPos(lastEnd);
    SelectRange(lastStart, lastEnd);
    BringIntoView(lastEnd);
}
