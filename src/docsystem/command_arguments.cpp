#include "docsystem/command_arguments.h"

#include "utils/string_utils.h"

std::optional<TextSpan> BracedArgument(const std::string& text, std::size_t position)
{
    if (position < text.size() && utils::IsIdentifierCharacter(text[position]))
        return std::nullopt;
    if (position < text.size() && text[position] == '*')
        ++position;
    for (;;) {
        position = text.find_first_not_of(utils::kWhitespace, position);
        if (position == std::string::npos || text[position] != '[')
            break;
        position = text.find(']', position);
        if (position == std::string::npos)
            return std::nullopt;
        ++position;
    }
    if (position == std::string::npos || text[position] != '{')
        return std::nullopt;
    const std::size_t end = text.find('}', position);
    if (end == std::string::npos)
        return std::nullopt;
    return TextSpan{position + 1, end - position - 1};
}

std::optional<TextSpan> BracketedOptions(const std::string& text, std::size_t position)
{
    if (position < text.size() && utils::IsIdentifierCharacter(text[position]))
        return std::nullopt;
    position = text.find_first_not_of(utils::kWhitespace, position);
    if (position == std::string::npos || text[position] != '[')
        return std::nullopt;
    const std::size_t end = text.find(']', position);
    if (end == std::string::npos)
        return std::nullopt;
    return TextSpan{position + 1, end - position - 1};
}

std::optional<TextSpan> CommandArgument(const std::string& text, std::size_t position, ArgumentForm form)
{
    return form == ArgumentForm::OptionList ? BracketedOptions(text, position) : BracedArgument(text, position);
}

std::vector<TextSpan> NameSpans(const std::string& text, TextSpan argument, ArgumentForm form)
{
    std::vector<TextSpan> spans;
    const std::size_t end = argument.start + argument.length;
    for (std::size_t start = argument.start; start <= end;) {
        std::size_t itemEnd = form == ArgumentForm::One ? end : text.find(',', start);
        if (itemEnd == std::string::npos || itemEnd > end)
            itemEnd = end;
        const std::size_t first = text.find_first_not_of(utils::kWhitespace, start);
        if (first != std::string::npos && first < itemEnd) {
            const std::size_t last = text.find_last_not_of(utils::kWhitespace, itemEnd - 1);
            spans.push_back({first, last + 1 - first});
        }
        start = itemEnd + 1;
    }
    return spans;
}

