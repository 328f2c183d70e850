#include "platform/framework_strings.h"

#include "platform/command_ids.h"
#include "utils/string_table.h"

namespace platform {

std::string LoadFrameworkString(UINT id)
{
    std::string text = utils::LoadResourceString(id);
    if (!text.empty())
        return text;
    switch (id) {
    case ID_INDICATOR_CAPS:
        return "CAP";
    case ID_INDICATOR_NUM:
        return "NUM";
    case ID_INDICATOR_OVR:
        return "OVR";
    default:
        return {};
    }
}

}  // namespace platform
