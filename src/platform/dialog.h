#pragma once

#include "platform/dialog_template.h"
#include "platform/wnd.h"

#include <memory>
#include <string>
#include <vector>

class CDialog;

enum class DataDirection { ToControls, FromControls };

// One transfer between a dialog's members and its controls.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, DataDirection direction);
    bool m_bSaveAndValidate;
    CDialog* m_pDlgWnd;
};

// Edit text <-> string.
void DDX_Text(CDataExchange* exchange, int controlId, std::string& value);
// Check box state <-> 0 / 1.
void DDX_Check(CDataExchange* exchange, int controlId, int& value);
// Radio group starting at `controlId` (up to the next WS_GROUP) <-> index of the checked button,
// -1 for none.
void DDX_Radio(CDataExchange* exchange, int controlId, int& value);

// A modal dialog built from a dialog template. Buttons send WM_COMMAND with their id to the dialog:
// IDOK runs OnOK, IDCANCEL (also the window's close button and Escape) runs OnCancel, other ids
// reach the command map; edits send EN_CHANGE notifications.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the dialog and its controls, runs OnInitDialog, waits until EndDialog is called and
    // returns its result; -1 when the template does not exist.
    virtual INT_PTR DoModal();
    void EndDialog(int result);
    bool IsEnding() const { return m_ending; }
    bool UpdateData(DataDirection direction);

    UINT TemplateId() const { return m_templateId; }
    const platform::DialogTemplate* Template() const { return m_template; }

protected:
    // Transfers the members to the controls; returns whether the focus is left to the framework.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* exchange);

private:
    bool CreateDialogWindow();
    void DestroyDialogWindow();

    UINT m_templateId;
    CWnd* m_pParentWnd;
    const platform::DialogTemplate* m_template = nullptr;
    std::vector<std::unique_ptr<CWnd>> m_controls;
    int m_result = -1;
    bool m_ending = false;
};
