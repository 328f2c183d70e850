#include "app/window/startup_command_line.h"

#include <algorithm>
#include <cctype>

std::string UnquotedCommandLine(std::string_view commandLine)
{
    if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"')
        commandLine = commandLine.substr(1, commandLine.size() - 2);
    return std::string(commandLine);
}

bool IsRemoteAddress(std::string_view name)
{
    return name.starts_with("ftp://") || name.starts_with("http://");
}

DocumentKind ChooseDocumentKind(std::string_view name)
{
    if (IsRemoteAddress(name))
        return DocumentKind::Html;
    const auto dot = name.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    constexpr std::string_view Html = "htm";
    const bool htmlExtension = extension.size() >= Html.size()
        && std::equal(Html.begin(), Html.end(), extension.begin(), [](char expected, char actual) {
               return expected == std::tolower(static_cast<unsigned char>(actual));
           });
    return htmlExtension ? DocumentKind::Html : DocumentKind::Latex;
}
