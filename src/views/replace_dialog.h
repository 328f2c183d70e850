#pragma once

#include "buffer/text_position.h"
#include "platform/dialog.h"

#include <cstdint>
#include <string>

class CQuillEditView;

// The modal Replace dialog of an edit view: finds the text in the whole file or in the block that
// was selected when it opened, and replaces the current match or every match.
class CReplaceDialog : public CDialog {
public:
    enum Scope { Selection = 0, WholeFile = 1 };

    explicit CReplaceDialog(CQuillEditView& view);

    std::uint32_t Flags() const;

    bool m_found = false;
    TextPosition m_foundPosition;
    bool m_selectionScopeEnabled = true;
    TextPosition m_currentPosition;
    TextPosition m_blockBegin;
    TextPosition m_blockEnd;
    int m_matchCase = 0;
    int m_wholeWord = 0;
    int m_regularExpression = 0;
    std::string m_findText;
    std::string m_replaceText;
    int m_scope = -1;

protected:
    bool OnInitDialog() override;
    // Cancel too takes the controls' values, which the command remembers.
    void OnCancel() override;
    void DoDataExchange(CDataExchange* exchange) override;

private:
    void EnableFindNext();
    void OnFindNext();
    void OnReplace();
    void OnReplaceAll();
    // Selects the next match from the found position; on failure says so and starts over at the
    // beginning of the scope.
    bool HighlightNextMatch();
    void NotFound();
    TextPosition ScopeEnd() const;

    CQuillEditView& m_view;
    // The bytes the current match covers (a pattern's matches differ in length).
    int m_foundLength = 0;
};
