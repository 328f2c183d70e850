#pragma once

// Message templates with "{}" placeholders, filled argument by argument.

#include "utils/string_table.h"

#include <string>

namespace utils {

// Each argument replaces the first "{}" of the current text (searching from its beginning, so a
// "{}" brought in by an earlier argument is filled first); without a "{}" the argument is ignored.
class MessageFormat {
public:
    explicit MessageFormat(std::string messageTemplate);

    MessageFormat& operator%(const std::string& argument);
    MessageFormat& operator%(const char* argument);

    const std::string& Text() const { return text; }
    operator std::string() const { return text; }

private:
    std::string text;
};

}  // namespace utils
