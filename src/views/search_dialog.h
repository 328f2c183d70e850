#pragma once

#include "platform/dialog.h"
#include "views/search_settings.h"

#include <cstdint>
#include <string>

// What the Find and Replace dialogs share: the text to find, the match options, their controls
// and the settings they remember from one run to the next.
class CSearchDialog : public CDialog {
public:
    // The match case, whole word and regular expression options as search flags.
    std::uint32_t OptionFlags() const;
    // The find text and the options (not the replace text, which only Replace keeps).
    void TakeSettings(const SearchSettings& settings);
    SearchSettings Settings() const;

    std::string m_findText;
    int m_matchCase = 0;
    int m_wholeWord = 0;
    int m_regularExpression = 0;

protected:
    // `findNextButton` is enabled only while there is something to find.
    CSearchDialog(UINT templateId, CWnd& parent, int findNextButton);

    bool OnInitDialog() override;
    // Cancel too takes the controls' values, which the command remembers.
    void OnCancel() override;
    void DoDataExchange(CDataExchange* exchange) override;

private:
    void EnableFindNext();

    int m_findNextButton;
};
