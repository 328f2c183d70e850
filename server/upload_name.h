#pragma once

#include <string>

namespace torvel {

// Empty when `name` may be created in a job directory, else the reason it may not.
// Only flat names are accepted, and none a tool would treat as an option or as code to run.
std::string CheckUploadName(const std::string& name);

}  // namespace torvel
