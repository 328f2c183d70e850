#include "views/search_dialog.h"

#include "platform/messages.h"
#include "views/search_dialog_templates.h"
#include "views/search_flags.h"

using namespace search_dialogs;

CSearchDialog::CSearchDialog(UINT templateId, CWnd& parent, int findNextButton)
    : CDialog(templateId, &parent), m_findNextButton(findNextButton)
{
    RegisterTemplates();
    MapNotification(FindTextEdit, EN_CHANGE, [this] { EnableFindNext(); });
}

std::uint32_t CSearchDialog::OptionFlags() const
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

void CSearchDialog::TakeSettings(const SearchSettings& settings)
{
    m_findText = settings.findText;
    m_matchCase = settings.matchCase;
    m_wholeWord = settings.wholeWord;
    m_regularExpression = settings.regularExpression;
}

SearchSettings CSearchDialog::Settings() const
{
    SearchSettings settings;
    settings.findText = m_findText;
    settings.matchCase = m_matchCase;
    settings.wholeWord = m_wholeWord;
    settings.regularExpression = m_regularExpression;
    return settings;
}

bool CSearchDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    EnableFindNext();
    return true;
}

void CSearchDialog::OnCancel()
{
    UpdateData(DataDirection::FromControls);
    CDialog::OnCancel();
}

void CSearchDialog::DoDataExchange(CDataExchange* exchange)
{
    DDX_Text(exchange, FindTextEdit, m_findText);
    DDX_Check(exchange, WholeWordBox, m_wholeWord);
    DDX_Check(exchange, MatchCaseBox, m_matchCase);
    DDX_Check(exchange, RegularExpressionBox, m_regularExpression);
}

void CSearchDialog::EnableFindNext()
{
    std::string text;
    GetDlgItemText(FindTextEdit, text);
    if (CWnd* button = GetDlgItem(m_findNextButton))
        button->EnableWindow(!text.empty());
}
