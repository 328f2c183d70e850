#include "latex_log.h"

#include <fstream>
#include <sstream>
#include <string_view>

namespace torvel {
namespace {

// The indented lines that follow `heading` in `output`, trimmed, each passed through `describe`.
template <typename Describe>
void AddIndentedLinesAfter(const std::string& output, std::string_view heading, Describe describe, std::string& problems)
{
    const std::size_t headingAt = output.find(heading);
    if (headingAt == std::string::npos)
        return;
    std::istringstream lines(output.substr(headingAt + heading.size()));
    std::string line;
    std::getline(lines, line);  // the rest of the heading's line
    while (std::getline(lines, line) && line.starts_with("  ")) {
        problems += (problems.empty() ? "" : "; ") + describe(line.substr(line.find_first_not_of(' ')));
    }
}

}  // namespace

std::string LatexmkProblems(const std::string& output)
{
    std::string problems;
    AddIndentedLinesAfter(
        output, "Bib file(s) not found in search path:",
        [](const std::string& name) { return "bibliography file " + name + " not found"; }, problems);
    AddIndentedLinesAfter(
        output, "Collected error summary (may duplicate other messages):",
        [](const std::string& line) { return line; }, problems);
    return problems;
}

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

bool LogShowsErrors(const std::string& logText)
{
    return logText.starts_with("!") || logText.find("\n!") != std::string::npos;
}

}  // namespace torvel
