#include "views/quill_text_view.h"

#include "platform/cmd_ui.h"
#include "platform/command_ids.h"
#include "views/editor_command_ids.h"
#include "views/find_dialog.h"
#include "views/line_matcher.h"
#include "views/search_flags.h"
#include "views/search_messages.h"
#include "views/search_settings.h"
#include "views/text_search.h"

void CQuillTextView::MapFindCommands()
{
    MapCommand(ID_EDIT_FIND, &CQuillTextView::OnEditFind);
    MapCommand(ID_EDIT_REPEAT, &CQuillTextView::OnEditFindNext);
    MapCommand(ID_EDIT_FIND_PREVIOUS, &CQuillTextView::OnEditFindPrevious);
    MapUpdateCommandUI(ID_EDIT_REPEAT, &CQuillTextView::OnUpdateFindAgain);
    MapUpdateCommandUI(ID_EDIT_FIND_PREVIOUS, &CQuillTextView::OnUpdateFindAgain);
}

void CQuillTextView::ForgetLastSearch()
{
    m_lastSearchValid = false;
    m_lastSearchFlags = 0;
    m_lastSearchText.clear();
}

TextPosition CQuillTextView::EndOfText() const
{
    const int lastLine = LineCount() - 1;
    return {LineLength(lastLine), lastLine};
}

TextPosition CQuillTextView::PositionAfterCharacter(TextPosition position) const
{
    if (position.character < LineLength(position.line))
        return {NextCharIndex(position.line, position.character), position.line};
    if (position.line + 1 < LineCount())
        return {0, position.line + 1};
    return {position.character + 1, position.line};
}

TextPosition CQuillTextView::SearchStart(std::uint32_t flags) const
{
    if ((flags & SearchFlags::FindDirectionUp) == 0)
        return m_caretPos;
    // Upwards the match that is selected now is not to be found again.
    TextPosition start;
    TextPosition end;
    GetSelection(start, end);
    return HasSelection() ? start : m_caretPos;
}

bool CQuillTextView::SearchTextInRange(std::string_view text, TextPosition start, TextPosition rangeBegin,
                                       TextPosition rangeEnd, std::uint32_t flags, SearchWrap wrap, FoundText& found)
{
    if (rangeBegin == rangeEnd)
        return false;
    const TextSearch search(*this, text, flags);
    std::optional<FoundText> match;
    if ((flags & SearchFlags::FindDirectionUp) != 0) {
        match = search.Upward(start);
        if (!match && wrap == SearchWrap::Yes)
            match = search.Upward({INT32_MAX, LineCount() - 1});
    } else {
        match = search.Downward(std::max(start, rangeBegin), rangeEnd);
        if (!match && wrap == SearchWrap::Yes)
            match = search.Downward(rangeBegin, rangeEnd);
    }
    if (!match)
        return false;
    found = *match;
    return true;
}

bool CQuillTextView::SearchText(std::string_view text, TextPosition start, std::uint32_t flags, SearchWrap wrap,
                                FoundText& found)
{
    return SearchTextInRange(text, start, {0, 0}, EndOfText(), flags, wrap, found);
}

bool CQuillTextView::SearchNext(std::string_view text, TextPosition start, std::uint32_t flags, FoundText& found)
{
    if (!SearchText(text, start, flags, SearchWrap::Yes, found))
        return false;
    // An empty match right at the start is the one found last time; the search goes on behind it.
    const bool foundAgain = found.length == 0 && found.position == start && (flags & SearchFlags::FindDirectionUp) == 0;
    return !foundAgain || SearchText(text, PositionAfterCharacter(start), flags, SearchWrap::Yes, found);
}

void CQuillTextView::OnEditFind()
{
    CFindDialog dialog(*this);
    if (m_lastSearchValid) {
        dialog.SetFlags(m_lastSearchFlags);
        dialog.m_findText = m_lastSearchText;
    } else {
        dialog.TakeSettings(SearchSettings::Read(SearchSettingsSection::Find));
    }
    TextPosition start;
    TextPosition end;
    GetSelection(start, end);
    if (HasSelection() && start.line == end.line)
        GetText(start, end, dialog.m_findText);

    SetSelectionVisibility(SelectionVisibility::Always);
    dialog.DoModal();
    SetSelectionVisibility(SelectionVisibility::WithFocus);

    m_lastSearchValid = true;
    m_lastSearchText = dialog.m_findText;
    m_lastSearchFlags = dialog.Flags();
    dialog.Settings().Write(SearchSettingsSection::Find);
}

void CQuillTextView::OnEditFindNext()
{
    FindAgain(m_lastSearchFlags);
}

void CQuillTextView::OnEditFindPrevious()
{
    FindAgain(m_lastSearchFlags ^ SearchFlags::FindDirectionUp);
}

void CQuillTextView::FindAgain(std::uint32_t flags)
{
    if (!m_lastSearchValid)
        return;
    FoundText found;
    try {
        if (!SearchNext(m_lastSearchText, SearchStart(flags), flags, found)) {
            ShowTextNotFound(m_lastSearchText);
            return;
        }
    } catch (const SearchPatternError& error) {
        ShowSearchPatternError(error);
        return;
    }
    SelectFoundText(found.position, found.length);
}

void CQuillTextView::OnUpdateFindAgain(CCmdUI* commandUi)
{
    commandUi->Enable(m_lastSearchValid);
}
