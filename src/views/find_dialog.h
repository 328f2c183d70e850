#pragma once

#include "buffer/text_position.h"
#include "views/search_dialog.h"

#include <cstdint>
#include <optional>

class CQuillTextView;

// The modal Find dialog of a text view: "Find Next" searches from the current position with
// wrapping, selects a match in the view and closes; when nothing is found it says so and starts
// over from the top.
class CFindDialog : public CSearchDialog {
public:
    enum Direction { Up = 0, Down = 1 };

    explicit CFindDialog(CQuillTextView& view);

    // The search flags of the options and the direction.
    std::uint32_t Flags() const;
    void SetFlags(std::uint32_t flags);

    int m_direction = Down;
    // Where "Find Next" starts; nothing for the view's own start (the caret, or the selection's
    // start upwards).
    std::optional<TextPosition> m_currentPosition;

protected:
    void OnOK() override;
    void DoDataExchange(CDataExchange* exchange) override;

private:
    CQuillTextView& m_view;
};
