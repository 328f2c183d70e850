#include "app/window/icon_preview.h"

#include "app/mime_associations.h"
#include "platform/dc.h"
#include "platform/dialog.h"
#include "platform/system_services.h"

HICON ProgramIcon(const std::string& programFile, IconSize size)
{
    if (app::ResolveProgram(programFile).empty())
        return nullptr;
    const std::string iconName = app::DesktopEntryIconName(programFile);
    if (!iconName.empty()) {
        if (HICON icon = LoadThemeIcon(iconName, size))
            return icon;
    }
    return LoadExecutableIcon(size);
}

bool IconPreview::Create(const std::string& programFile, IconSize size, int placeholderId, CDialog& parent)
{
    CWnd* placeholder = parent.GetDlgItem(placeholderId);
    if (placeholder == nullptr)
        return false;
    CRect placeholderRect;
    placeholder->GetWindowRect(&placeholderRect);
    CPoint corner = placeholderRect.TopLeft();
    parent.ScreenToClient(&corner);
    m_size = size;
    const int pixels = static_cast<int>(size);
    if (!CWnd::Create(&parent, 0, WS_CHILD | WS_VISIBLE,
                      CRect(corner.x, corner.y, corner.x + pixels, corner.y + pixels)))
        return false;
    SetProgramFile(programFile);
    return true;
}

void IconPreview::SetProgramFile(const std::string& programFile)
{
    m_icon = ProgramIcon(programFile, m_size);
    Invalidate();
}

bool IconPreview::OnEraseBkgnd(CDC*)
{
    // OnPaint fills the whole window; erasing first would only flicker.
    return true;
}

void IconPreview::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, GetSysColor(COLOR_MENU));
    if (IsWindowEnabled())
        dc.DrawIcon({0, 0}, m_icon);
    else
        dc.DrawDisabledIcon({0, 0}, m_icon);
}

void IconPreview::OnEnable(bool enabled)
{
    Invalidate();
    CWnd::OnEnable(enabled);
}
