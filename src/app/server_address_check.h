#pragma once

#include <string>

namespace app {

// Why `text` cannot be a server address HOST:PORT (a host without colons or blanks, a port of
// 1-65535 in decimal digits); empty when it can.
std::string ServerAddressProblem(const std::string& text);

}  // namespace app
