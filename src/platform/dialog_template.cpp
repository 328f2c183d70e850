#include "platform/dialog_template.h"

#include "platform/messages.h"

namespace platform {
namespace {

bool StartsGroup(const DialogItemTemplate& item)
{
    return (item.style & WS_GROUP) != 0;
}

bool IsRadio(const DialogItemTemplate& item)
{
    return item.kind == DialogItemKind::RadioButton;
}

}  // namespace

std::size_t RadioGroupStart(const DialogTemplate& dialog, std::size_t itemIndex)
{
    std::size_t start = itemIndex;
    while (start > 0 && !StartsGroup(dialog.items[start]) && IsRadio(dialog.items[start - 1]))
        --start;
    return start;
}

std::vector<std::size_t> RadioGroupMembers(const DialogTemplate& dialog, std::size_t startIndex)
{
    std::vector<std::size_t> members;
    for (std::size_t index = startIndex; index < dialog.items.size() && IsRadio(dialog.items[index]); ++index) {
        if (index != startIndex && StartsGroup(dialog.items[index]))
            break;
        members.push_back(index);
    }
    return members;
}

}  // namespace platform
