#pragma once

#include "buffer/text_position.h"
#include "platform/dialog.h"

#include <cstdint>
#include <optional>
#include <string>

class CQuillTextView;

// The modal Find dialog of a text view: "Find Next" searches from the current position with
// wrapping, selects a match in the view and closes; when nothing is found it says so and starts
// over from the top.
class CFindDialog : public CDialog {
public:
    enum Direction { Up = 0, Down = 1 };

    explicit CFindDialog(CQuillTextView& view);

    // The search flags of the options and the direction.
    std::uint32_t Flags() const;
    void SetFlags(std::uint32_t flags);

    std::string m_findText;
    int m_matchCase = 0;
    int m_wholeWord = 0;
    int m_regularExpression = 0;
    int m_direction = Down;
    // Where "Find Next" starts; nothing for the view's own start (the caret, or the selection's
    // start upwards).
    std::optional<TextPosition> m_currentPosition;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* exchange) override;

private:
    void EnableFindNext();

    CQuillTextView& m_view;
};
