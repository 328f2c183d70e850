#pragma once

#include <optional>
#include <string>
#include <vector>

namespace torvel {

// The client's latex2html option string, checked against the options this server allows.
// The two scale factors are not command-line options of latex2html; they go into its init file.
struct HtmlOptions {
    std::vector<std::string> arguments;
    std::optional<std::string> mathScaleFactor;
    std::optional<std::string> figureScaleFactor;
};

// Throws ProtocolError naming the first option that is not allowed or has a bad value.
HtmlOptions ParseHtmlOptions(const std::string& text);

// Splits at blanks; double quotes group words, and two double quotes stand for one.
std::vector<std::string> SplitOptionWords(const std::string& text);

}  // namespace torvel
