#include "docsystem/page_encoding.h"

#include "docsystem/source_encoding.h"
#include "utils/string_utils.h"

#include <algorithm>

namespace {

bool HasBytesAboveAscii(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char byte) { return (byte & 0x80) != 0; });
}

// charset=utf-8 in a meta element or an XML declaration, with or without quotes, in any case.
bool DeclaresUtf8(std::string_view page)
{
    const std::string lowered = utils::ToLowerCase(std::string(page));
    for (std::size_t found = lowered.find("charset="); found != std::string::npos;
         found = lowered.find("charset=", found + 1)) {
        std::string_view value = std::string_view(lowered).substr(found + 8);
        if (!value.empty() && (value.front() == '"' || value.front() == '\''))
            value.remove_prefix(1);
        if (value.starts_with("utf-8") || value.starts_with("utf8"))
            return true;
    }
    return false;
}

}  // namespace

TextEncoding PageEncoding(std::string_view page)
{
    if (DeclaresUtf8(page) || (HasBytesAboveAscii(page) && DetectedEncoding(page) == TextEncoding::Utf8))
        return TextEncoding::Utf8;
    return TextEncoding::Legacy;
}

std::string TextForPage(std::string_view text, TextEncoding pageEncoding)
{
    if (pageEncoding == TextEncoding::Utf8 || !HasBytesAboveAscii(text) || DetectedEncoding(text) != TextEncoding::Utf8)
        return std::string(text);
    std::string result;
    for (std::size_t index = 0; index < text.size();) {
        const utf8::Character character = utf8::DecodeAt(text, index);
        if (character.valid && character.length > 1)
            result += "&#" + std::to_string(static_cast<std::uint32_t>(character.codePoint)) + ";";
        else
            result.append(text.substr(index, static_cast<std::size_t>(character.length)));
        index += static_cast<std::size_t>(character.length);
    }
    return result;
}
