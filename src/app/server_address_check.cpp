#include "app/server_address_check.h"

#include <algorithm>
#include <cctype>

namespace app {

namespace {

constexpr const char* AddressFormMessage =
    "The server address must have the form <hostname>:<port>, for example localhost:3000.";
constexpr const char* PortRangeMessage = "The port of the server address must be a number from 1 to 65535.";

bool IsDecimal(const std::string& text)
{
    return !text.empty()
           && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool HasBlank(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c) != 0; });
}

}  // namespace

std::string ServerAddressProblem(const std::string& text)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || text.find(':', colon + 1) != std::string::npos
        || HasBlank(text))
        return AddressFormMessage;
    const std::string port = text.substr(colon + 1);
    if (!IsDecimal(port))
        return PortRangeMessage;
    // Leading zeros are harmless; only the value counts.
    const auto digits = port.find_first_not_of('0');
    if (digits == std::string::npos || port.size() - digits > 5 || std::stoi(port.substr(digits)) > 65535)
        return PortRangeMessage;
    return {};
}

}  // namespace app
