#pragma once

#include <string>

namespace app {

// The directory that holds template/ and help/ (no trailing slash): $QUILLWRIGHT_HOME when set, else
// <prefix>/share/quillwright when the program runs from an installation, else the source tree the
// program was built from.
std::string DataDirectory();

}  // namespace app
