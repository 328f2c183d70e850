#pragma once

#include "buffer/text_position.h"
#include "views/search_dialog.h"

#include <cstdint>
#include <string>

class CQuillEditView;

// The modal Replace dialog of an edit view: finds the text in the whole file or in the block that
// was selected when it opened, and replaces the current match or every match.
class CReplaceDialog : public CSearchDialog {
public:
    enum Scope { Selection = 0, WholeFile = 1 };

    explicit CReplaceDialog(CQuillEditView& view);

    bool m_found = false;
    TextPosition m_foundPosition;
    bool m_selectionScopeEnabled = true;
    TextPosition m_currentPosition;
    TextPosition m_blockBegin;
    TextPosition m_blockEnd;
    std::string m_replaceText;
    int m_scope = -1;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

private:
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
