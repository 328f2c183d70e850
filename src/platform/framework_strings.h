#pragma once

#include "platform/win_types.h"

#include <string>

namespace platform {

// The text of a string resource: the program's string table first, then the framework's own
// texts (indicator names such as "OVR" and "CAP"). Empty when neither has the id.
std::string LoadFrameworkString(UINT id);

}  // namespace platform
