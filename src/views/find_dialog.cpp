#include "views/find_dialog.h"

#include "platform/command_ids.h"
#include "views/line_matcher.h"
#include "views/quill_text_view.h"
#include "views/search_dialog_templates.h"
#include "views/search_flags.h"
#include "views/search_messages.h"
#include "views/text_search.h"

using namespace search_dialogs;

CFindDialog::CFindDialog(CQuillTextView& view) : CSearchDialog(FindTemplateId, view, IDOK), m_view(view) {}

std::uint32_t CFindDialog::Flags() const
{
    std::uint32_t flags = OptionFlags();
    if (m_direction == Up)
        flags |= SearchFlags::FindDirectionUp;
    return flags;
}

void CFindDialog::SetFlags(std::uint32_t flags)
{
    m_matchCase = (flags & SearchFlags::FindMatchCase) != 0 ? 1 : 0;
    m_wholeWord = (flags & SearchFlags::FindWholeWord) != 0 ? 1 : 0;
    m_regularExpression = (flags & SearchFlags::FindRegularExpression) != 0 ? 1 : 0;
    m_direction = (flags & SearchFlags::FindDirectionUp) != 0 ? Up : Down;
}

void CFindDialog::DoDataExchange(CDataExchange* exchange)
{
    CSearchDialog::DoDataExchange(exchange);
    DDX_Radio(exchange, UpRadio, m_direction);
}

void CFindDialog::OnOK()
{
    if (!UpdateData(DataDirection::FromControls))
        return;
    FoundText found;
    try {
        const TextPosition start = m_currentPosition.value_or(m_view.SearchStart(Flags()));
        if (!m_view.SearchNext(m_findText, start, Flags(), found)) {
            ShowTextNotFound(m_findText);
            m_currentPosition = TextPosition{};
            return;
        }
    } catch (const SearchPatternError& error) {
        ShowSearchPatternError(error);
        return;
    }
    m_view.SelectFoundText(found.position, found.length);
    EndDialog(IDOK);
}
