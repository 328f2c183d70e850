#include "views/replace_dialog.h"

#include "platform/command_ids.h"
#include "views/line_matcher.h"
#include "views/quill_edit_view.h"
#include "views/search_dialog_templates.h"
#include "views/search_messages.h"
#include "views/text_search.h"

using namespace search_dialogs;

CReplaceDialog::CReplaceDialog(CQuillEditView& view)
    : CSearchDialog(ReplaceTemplateId, view, ReplaceFindNextButton), m_view(view)
{
    MapCommand(ReplaceFindNextButton, [this] { OnFindNext(); });
    MapCommand(ReplaceButton, [this] { OnReplace(); });
    MapCommand(ReplaceAllButton, [this] { OnReplaceAll(); });
}

bool CReplaceDialog::OnInitDialog()
{
    CSearchDialog::OnInitDialog();
    if (CWnd* selection = GetDlgItem(SelectionRadio))
        selection->EnableWindow(m_selectionScopeEnabled);
    m_found = false;
    return true;
}

void CReplaceDialog::DoDataExchange(CDataExchange* exchange)
{
    CSearchDialog::DoDataExchange(exchange);
    DDX_Text(exchange, ReplaceTextEdit, m_replaceText);
    DDX_Radio(exchange, SelectionRadio, m_scope);
}

TextPosition CReplaceDialog::ScopeEnd() const
{
    return m_scope == Selection ? m_blockEnd : m_view.EndOfText();
}

bool CReplaceDialog::HighlightNextMatch()
{
    FoundText found;
    bool success = false;
    try {
        const TextPosition begin = m_scope == Selection ? m_blockBegin : TextPosition{};
        success = m_view.SearchTextInRange(m_findText, m_foundPosition, begin, ScopeEnd(), OptionFlags(), SearchWrap::No, found);
    } catch (const SearchPatternError& error) {
        ShowSearchPatternError(error);
        return false;
    }
    if (!success) {
        NotFound();
        return false;
    }
    m_foundPosition = found.position;
    m_foundLength = found.length;
    m_view.SelectFoundText(found.position, found.length);
    return true;
}

void CReplaceDialog::NotFound()
{
    ShowTextNotFound(m_findText);
    m_currentPosition = m_scope == Selection ? m_blockBegin : TextPosition{};
}

void CReplaceDialog::OnFindNext()
{
    if (!UpdateData(DataDirection::FromControls))
        return;
    // From behind the start of the current match, so that overlapping matches are found.
    m_foundPosition = m_found ? m_view.PositionAfterCharacter(m_foundPosition) : m_currentPosition;
    m_found = HighlightNextMatch();
}

void CReplaceDialog::OnReplace()
{
    if (!UpdateData(DataDirection::FromControls))
        return;
    if (!m_found) {
        m_foundPosition = m_currentPosition;
        m_found = HighlightNextMatch();
        return;
    }
    std::string replacement;
    try {
        const TextSearch search(m_view, m_findText, OptionFlags());
        replacement = search.Substitute({m_foundPosition, m_foundLength}, m_replaceText);
    } catch (const SearchPatternError& error) {
        ShowSearchPatternError(error);
        return;
    }
    const FoundText match{m_foundPosition, m_foundLength};
    m_view.ReplaceSelectedText(replacement);
    const TextPosition insertedEnd = m_view.CaretPos();
    if (m_selectionScopeEnabled) {
        m_blockBegin = PositionAfterReplacement(m_blockBegin, match, insertedEnd);
        m_blockEnd = PositionAfterReplacement(m_blockEnd, match, insertedEnd);
    }
    m_foundPosition = match.length == 0 ? m_view.PositionAfterCharacter(insertedEnd) : insertedEnd;
    m_found = HighlightNextMatch();
}

void CReplaceDialog::OnReplaceAll()
{
    if (!UpdateData(DataDirection::FromControls))
        return;
    if (!m_found) {
        m_foundPosition = m_currentPosition;
        m_found = HighlightNextMatch();
        if (!m_found)
            return;
    }
    try {
        const TextSearch search(m_view, m_findText, OptionFlags());
        TextPosition scopeEnd = ScopeEnd();
        const FoundText first{m_foundPosition, m_foundLength};
        m_view.ReplaceAll(search, first, m_replaceText, scopeEnd);
        if (m_scope == Selection)
            m_blockEnd = scopeEnd;
    } catch (const SearchPatternError& error) {
        ShowSearchPatternError(error);
        return;
    }
    m_found = false;
    NotFound();
}
