#include "utils/message_format.h"

#include <string_view>

namespace utils {

MessageFormat::MessageFormat(std::string messageTemplate)
    : text(std::move(messageTemplate))
{
}

MessageFormat& MessageFormat::operator%(const std::string& argument)
{
    const std::size_t placeholder = text.find("{}");
    if (placeholder != std::string::npos)
        text.replace(placeholder, 2, argument);
    return *this;
}

MessageFormat& MessageFormat::operator%(const char* argument)
{
    // A null character string inserts nothing rather than crashing.
    return *this % std::string(argument != nullptr ? argument : "");
}

}  // namespace utils
