#include "platform/dialog.h"

#include "platform/backend.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/resources.h"
#include "platform/win_app.h"
#include "platform/window_peer.h"

CDataExchange::CDataExchange(CDialog* dialog, DataDirection direction)
    : m_bSaveAndValidate(direction == DataDirection::FromControls), m_pDlgWnd(dialog)
{
}

void DDX_Text(CDataExchange* exchange, int controlId, std::string& value)
{
    if (exchange->m_bSaveAndValidate)
        exchange->m_pDlgWnd->GetDlgItemText(controlId, value);
    else
        exchange->m_pDlgWnd->SetDlgItemText(controlId, value);
}

void DDX_Check(CDataExchange* exchange, int controlId, int& value)
{
    if (exchange->m_bSaveAndValidate)
        value = static_cast<int>(exchange->m_pDlgWnd->IsDlgButtonChecked(controlId));
    else
        exchange->m_pDlgWnd->CheckDlgButton(controlId, static_cast<UINT>(value));
}

void DDX_Radio(CDataExchange* exchange, int controlId, int& value)
{
    CDialog* dialog = exchange->m_pDlgWnd;
    const platform::DialogTemplate* dialogTemplate = dialog->Template();
    if (dialogTemplate == nullptr)
        return;
    const auto& items = dialogTemplate->items;
    std::size_t first = 0;
    while (first < items.size() && items[first].id != controlId)
        ++first;
    if (first == items.size())
        return;
    const std::vector<std::size_t> group = platform::RadioGroupMembers(*dialogTemplate, first);
    if (exchange->m_bSaveAndValidate)
        value = -1;
    for (std::size_t position = 0; position < group.size(); ++position) {
        const int id = items[group[position]].id;
        if (!exchange->m_bSaveAndValidate)
            dialog->CheckDlgButton(id, static_cast<int>(position) == value ? 1 : 0);
        else if (dialog->IsDlgButtonChecked(id) != 0)
            value = static_cast<int>(position);
    }
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent)
{
    MapMessage(WM_INITDIALOG, [this](WPARAM, LPARAM) { return LRESULT{OnInitDialog() ? 1 : 0}; });
    MapCommand(IDOK, [this] { OnOK(); });
    MapCommand(IDCANCEL, [this] { OnCancel(); });
}

CDialog::~CDialog()
{
    DestroyDialogWindow();
}

INT_PTR CDialog::DoModal()
{
    m_template = platform::resources::FindDialog(m_templateId);
    if (m_template == nullptr) {
        AfxMessageBox("The program has no dialog " + std::to_string(m_templateId) + ".", MB_OK | MB_ICONERROR);
        return -1;
    }
    m_result = -1;
    m_ending = false;
    if (!CreateDialogWindow()) {
        DestroyDialogWindow();
        return -1;
    }
    try {
        SendMessage(WM_INITDIALOG);
        if (!m_ending)
            platform::Backend::Current().RunModalDialog(*this);
    } catch (...) {
        DestroyDialogWindow();
        throw;
    }
    const int result = m_result;
    DestroyDialogWindow();
    return result;
}

bool CDialog::CreateDialogWindow()
{
    CWnd* parent = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    CRect size(0, 0, m_template->width, m_template->height);
    MapDialogRect(&size);
    platform::WindowCreation creation;
    creation.kind = platform::WindowKind::Dialog;
    creation.dialog = m_template;
    creation.create.hwndParent = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    creation.create.id = m_templateId;
    creation.create.cx = size.Width();
    creation.create.cy = size.Height();
    if (!CreateWindowOfKind(creation))
        return false;
    SetWindowText(m_template->caption);
    for (const platform::DialogItemTemplate& item : m_template->items) {
        CRect position(item.x, item.y, item.x + item.width, item.y + item.height);
        MapDialogRect(&position);
        platform::WindowCreation control;
        control.kind = platform::WindowKind::Control;
        control.control = &item;
        control.create.hwndParent = GetSafeHwnd();
        control.create.id = static_cast<UINT>(item.id);
        control.create.style = item.style | WS_CHILD | WS_VISIBLE;
        control.create.x = position.left;
        control.create.y = position.top;
        control.create.cx = position.Width();
        control.create.cy = position.Height();
        auto window = std::make_unique<CWnd>();
        if (!window->CreateWindowOfKind(control))
            return false;
        m_controls.push_back(std::move(window));
    }
    return true;
}

void CDialog::DestroyDialogWindow()
{
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
    m_controls.clear();
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    m_ending = true;
    platform::Backend::Current().EndModalDialog(*this);
}

bool CDialog::UpdateData(DataDirection direction)
{
    CDataExchange exchange(this, direction);
    DoDataExchange(&exchange);
    return true;
}

bool CDialog::OnInitDialog()
{
    UpdateData(DataDirection::ToControls);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(DataDirection::FromControls))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}
