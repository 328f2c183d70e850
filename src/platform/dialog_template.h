#pragma once

#include "platform/win_types.h"

#include <string>
#include <vector>

namespace platform {

enum class DialogItemKind { Label, Edit, CheckBox, RadioButton, GroupBox, PushButton, DefaultPushButton, Placeholder };

// One control of a dialog template. Positions are dialog units: a quarter of the average character
// width horizontally, an eighth of the character height vertically. `style` may carry WS_GROUP (a
// radio button that starts a group) and WS_DISABLED.
struct DialogItemTemplate {
    int id = -1;
    DialogItemKind kind = DialogItemKind::Label;
    std::string text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    DWORD style = 0;
};

struct DialogTemplate {
    std::string caption;
    int width = 0;
    int height = 0;
    std::vector<DialogItemTemplate> items;
};

// The index of the first radio button of the group that the radio button at `itemIndex` belongs
// to: a group runs from a radio button with WS_GROUP (or after any other control) over the radio
// buttons that follow without WS_GROUP.
std::size_t RadioGroupStart(const DialogTemplate& dialog, std::size_t itemIndex);
// The indexes of the radio buttons of the group starting at `startIndex`.
std::vector<std::size_t> RadioGroupMembers(const DialogTemplate& dialog, std::size_t startIndex);

}  // namespace platform

constexpr int IDC_STATIC = -1;
