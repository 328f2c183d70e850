#include "views/replace_dialog.h"

#include "platform/command_ids.h"
#include "platform/messages.h"
#include "views/line_matcher.h"
#include "views/quill_edit_view.h"
#include "views/search_dialog_templates.h"
#include "views/search_flags.h"
#include "views/search_messages.h"
#include "views/text_search.h"

using namespace search_dialogs;

CReplaceDialog::CReplaceDialog(CQuillEditView& view) : CDialog(ReplaceTemplateId, &view), m_view(view)
{
    RegisterTemplates();
    MapNotification(FindTextEdit, EN_CHANGE, [this] { EnableFindNext(); });
    MapCommand(ReplaceFindNextButton, [this] { OnFindNext(); });
    MapCommand(ReplaceButton, [this] { OnReplace(); });
    MapCommand(ReplaceAllButton, [this] { OnReplaceAll(); });
}

std::uint32_t CReplaceDialog::Flags() const
{
    std::uint32_t flags = 0;
    if (m_matchCase != 0)
        flags |= SearchFlags::FindMatchCase;
    if (m_wholeWord != 0)
        flags |= SearchFlags::FindWholeWord;
    if (m_regularExpression != 0)
        flags |= SearchFlags::FindRegularExpression;
    return flags;
}

bool CReplaceDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    EnableFindNext();
    if (CWnd* selection = GetDlgItem(SelectionRadio))
        selection->EnableWindow(m_selectionScopeEnabled);
    m_found = false;
    return true;
}

void CReplaceDialog::OnCancel()
{
    UpdateData(DataDirection::FromControls);
    CDialog::OnCancel();
}

void CReplaceDialog::DoDataExchange(CDataExchange* exchange)
{
    DDX_Text(exchange, FindTextEdit, m_findText);
    DDX_Text(exchange, ReplaceTextEdit, m_replaceText);
    DDX_Check(exchange, WholeWordBox, m_wholeWord);
    DDX_Check(exchange, MatchCaseBox, m_matchCase);
    DDX_Check(exchange, RegularExpressionBox, m_regularExpression);
    DDX_Radio(exchange, SelectionRadio, m_scope);
}

void CReplaceDialog::EnableFindNext()
{
    std::string text;
    GetDlgItemText(FindTextEdit, text);
    if (CWnd* button = GetDlgItem(ReplaceFindNextButton))
        button->EnableWindow(!text.empty());
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
        success = m_view.SearchTextInRange(m_findText, m_foundPosition, begin, ScopeEnd(), Flags(), SearchWrap::No, found);
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
        const TextSearch search(m_view, m_findText, Flags());
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
        const TextSearch search(m_view, m_findText, Flags());
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
