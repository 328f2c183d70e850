#pragma once

#include <string>

namespace views_test {

// Lines "line0" ... "line<count-1>" separated by "\n": every line tells its number.
inline std::string NumberedLines(int count)
{
    std::string text;
    for (int line = 0; line < count; ++line) {
        if (line > 0)
            text += '\n';
        text += "line";
        text += std::to_string(line);
    }
    return text;
}

}  // namespace views_test
