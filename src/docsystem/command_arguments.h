#pragma once

#include "docsystem/collected_references.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A piece of a text: its first byte and its length.
struct TextSpan {
    std::size_t start = 0;
    std::size_t length = 0;
};

// The text between the braces of a command's argument, for a command whose name ends at
// `position`: after an optional star, blanks and optional arguments in brackets. None when the name
// goes on (\usepackagex) or no braced argument follows.
std::optional<TextSpan> BracedArgument(const std::string& text, std::size_t position);

// The text between the brackets of the optional argument that directly follows a command whose
// name ends at `position` (blanks allowed between). None when the command has none.
std::optional<TextSpan> BracketedOptions(const std::string& text, std::size_t position);

// The argument `form` names: the braced one, or the bracketed options.
std::optional<TextSpan> CommandArgument(const std::string& text, std::size_t position, ArgumentForm form);

// The names in an argument, without the blanks around them; a comma list or option list gives one
// per item.
std::vector<TextSpan> NameSpans(const std::string& text, TextSpan argument, ArgumentForm form);
