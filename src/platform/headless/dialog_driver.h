#pragma once

#include "platform/dialog.h"

#include <string>

namespace platform::headless {

// What a dialog script does: it works the controls as a user would.
class DialogDriver {
public:
    explicit DialogDriver(CDialog& dialog) : m_dialog(dialog) {}
    CDialog& Dialog() const { return m_dialog; }
    // Types into an edit (the dialog gets EN_CHANGE).
    void SetText(int controlId, const std::string& text);
    std::string Text(int controlId) const;
    bool IsChecked(int controlId) const;
    bool IsEnabled(int controlId) const;
    // Clicks a button: check boxes toggle, radio buttons become the checked one of their group,
    // and the dialog gets BN_CLICKED. Throws std::logic_error for a disabled control.
    void Click(int controlId);

private:
    CWnd& Control(int controlId) const;
    CDialog& m_dialog;
};

}  // namespace platform::headless
