#include "platform/wnd.h"

#include "platform/backend.h"

void CWnd::SetDlgItemText(int id, const std::string& text)
{
    if (CWnd* item = GetDlgItem(id))
        item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int id, std::string& text) const
{
    CWnd* item = GetDlgItem(id);
    text = item != nullptr ? item->GetWindowText() : std::string();
    return static_cast<int>(text.size());
}

void CWnd::CheckDlgButton(int id, UINT check)
{
    if (CWnd* item = GetDlgItem(id); item != nullptr && item->m_peer != nullptr)
        item->m_peer->SetCheck(static_cast<int>(check));
}

UINT CWnd::IsDlgButtonChecked(int id) const
{
    CWnd* item = GetDlgItem(id);
    return item != nullptr && item->m_peer != nullptr ? static_cast<UINT>(item->m_peer->Check()) : 0;
}

void CWnd::MapDialogRect(CRect* rect) const
{
    const CSize units = platform::Backend::Current().DialogBaseUnits();
    *rect = CRect(rect->left * units.cx / 4, rect->top * units.cy / 8, rect->right * units.cx / 4,
                  rect->bottom * units.cy / 8);
}
