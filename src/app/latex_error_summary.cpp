#include "app/latex_error_summary.h"

#include <cctype>
#include <sstream>

namespace app {

namespace {

bool IsLocationLine(const std::string& line)
{
    return line.size() > 2 && line[0] == 'l' && line[1] == '.' && std::isdigit(static_cast<unsigned char>(line[2]));
}

std::string WithoutCarriageReturn(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

}  // namespace

std::vector<LatexError> LatexErrors(const std::string& logText)
{
    std::vector<LatexError> errors;
    std::istringstream lines(logText);
    std::string line;
    while (std::getline(lines, line)) {
        line = WithoutCarriageReturn(line);
        if (!line.empty() && line.front() == '!') {
            errors.push_back({line, {}});
            continue;
        }
        // The location belongs to the error before it; later "l." lines (of the same error's
        // context) are not locations.
        if (!errors.empty() && errors.back().location.empty() && IsLocationLine(line))
            errors.back().location = line;
    }
    return errors;
}

}  // namespace app
