#include "app/windowless_options.h"

#include <filesystem>

namespace app {

namespace {

const char* const outputOption = "--output";
const char* const addressOption = "--address";
const char* const htmlOptionsOption = "--html-options";
const char* const localOption = "--local";

bool IsValueOption(const std::string& name)
{
    return name == outputOption || name == addressOption || name == htmlOptionsOption || name == localOption;
}

OutputMode ParseMode(const std::string& text)
{
    if (text == "ps")
        return OutputMode::PostScript;
    if (text == "pdf")
        return OutputMode::Pdf;
    if (text == "html")
        return OutputMode::Html;
    throw UsageError("unknown output kind '" + text + "' (expected ps, pdf or html)");
}

void SetOnce(std::optional<std::string>& target, const std::string& name, const std::string& value)
{
    if (target)
        throw UsageError(name + " given twice");
    target = value;
}

// Splits "--name=value" into its parts; an argument without "=" is returned whole as the name.
std::pair<std::string, std::optional<std::string>> SplitInlineValue(const std::string& argument)
{
    const auto equals = argument.find('=');
    if (equals == std::string::npos)
        return {argument, std::nullopt};
    return {argument.substr(0, equals), argument.substr(equals + 1)};
}

}  // namespace

bool AsksForHelp(const std::string& argument)
{
    return argument == "--help" || argument == "-h";
}

bool RequestsWindowlessRun(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (IsValueOption(SplitInlineValue(argument).first) || AsksForHelp(argument))
            return true;
    }
    return false;
}

WindowlessOptions ParseWindowlessOptions(const std::vector<std::string>& arguments)
{
    WindowlessOptions options;
    std::optional<std::string> mode;
    std::optional<std::string> file;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (optionsEnded || argument.size() < 2 || argument.front() != '-') {
            if (file)
                throw UsageError("more than one file given");
            file = argument;
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        auto [name, value] = SplitInlineValue(argument);
        if (!IsValueOption(name))
            throw UsageError("unknown option " + name);
        if (!value) {
            if (index + 1 == arguments.size())
                throw UsageError(name + " needs a value");
            value = arguments[++index];
        }
        if (name == outputOption)
            SetOnce(mode, name, *value);
        else if (name == addressOption)
            SetOnce(options.address, name, *value);
        else if (name == htmlOptionsOption)
            SetOnce(options.htmlOptions, name, *value);
        else
            SetOnce(options.localScript, name, *value);
    }
    if (!mode)
        throw UsageError("--output is required");
    if (!file || file->empty())
        throw UsageError("no LaTeX file given");
    options.mode = ParseMode(*mode);
    options.documentPath = std::filesystem::absolute(*file).lexically_normal().string();
    return options;
}

std::string WindowlessUsage()
{
    return "usage: quillwright --output ps|pdf|html [--address HOST:PORT] [--html-options TEXT]\n"
           "                   [--local SCRIPT] FILE\n"
           "Runs one documentation job for the LaTeX FILE without a window and exits with 0 on\n"
           "success, 1 when the job failed, 2 when LaTeX reported errors, 64 for a usage error.\n";
}

}  // namespace app
