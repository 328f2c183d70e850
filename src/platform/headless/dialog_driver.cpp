#include "platform/headless/dialog_driver.h"

#include "platform/dialog_template.h"
#include "platform/headless/headless_window.h"

#include <stdexcept>

namespace platform::headless {

void DialogDriver::SetText(int controlId, const std::string& text)
{
    Control(controlId).SetWindowText(text);
}

std::string DialogDriver::Text(int controlId) const
{
    return Control(controlId).GetWindowText();
}

bool DialogDriver::IsChecked(int controlId) const
{
    return m_dialog.IsDlgButtonChecked(controlId) != 0;
}

bool DialogDriver::IsEnabled(int controlId) const
{
    return Control(controlId).IsWindowEnabled();
}

void DialogDriver::Click(int controlId)
{
    CWnd& control = Control(controlId);
    if (!control.IsWindowEnabled())
        throw std::logic_error("control " + std::to_string(controlId) + " is disabled and cannot be clicked");
    const auto* item = static_cast<HeadlessWindow*>(control.Peer())->ControlTemplate();
    if (item != nullptr && item->kind == DialogItemKind::CheckBox)
        m_dialog.CheckDlgButton(controlId, IsChecked(controlId) ? 0 : 1);
    if (item != nullptr && item->kind == DialogItemKind::RadioButton) {
        const auto& items = m_dialog.Template()->items;
        const auto index = static_cast<std::size_t>(item - items.data());
        for (std::size_t member : RadioGroupMembers(*m_dialog.Template(), RadioGroupStart(*m_dialog.Template(), index)))
            m_dialog.CheckDlgButton(items[member].id, member == index ? 1 : 0);
    }
    control.NotifyParent(BN_CLICKED);
}

CWnd& DialogDriver::Control(int controlId) const
{
    CWnd* control = m_dialog.GetDlgItem(controlId);
    if (control == nullptr)
        throw std::logic_error("the dialog has no control " + std::to_string(controlId));
    return *control;
}

}  // namespace platform::headless
