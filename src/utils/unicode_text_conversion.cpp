#include "utils/unicode_text_conversion.h"

#include <cstdio>

namespace utils {

std::string UnicodeOfDocumentText(std::string_view bytes, DocumentCharacterSet characterSet)
{
    if (characterSet.encoding == TextEncoding::Utf8)
        return utf8::ValidText(bytes);
    std::string text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        text += utf8::Encode(LegacyCharacter(characterSet.codePage, static_cast<unsigned char>(byte)));
    return text;
}

DocumentText DocumentTextOfUnicode(std::string_view unicodeText, DocumentCharacterSet characterSet)
{
    if (characterSet.encoding == TextEncoding::Utf8)
        return {std::string(unicodeText), std::nullopt};
    DocumentText result;
    result.bytes.reserve(unicodeText.size());
    for (std::size_t index = 0; index < unicodeText.size();) {
        const utf8::Character character = utf8::DecodeAt(unicodeText, index);
        index += static_cast<std::size_t>(character.length);
        const std::optional<unsigned char> byte = LegacyByte(characterSet.codePage, character.codePoint);
        if (!byte) {
            return {std::string(), character.codePoint};
        }
        result.bytes += static_cast<char>(*byte);
    }
    return result;
}

std::string MissingCharacterMessage(char32_t missing, LegacyCodePage codePage)
{
    char codePoint[16];
    std::snprintf(codePoint, sizeof codePoint, "U+%04X", static_cast<unsigned>(missing));
    const char* name = codePage == LegacyCodePage::Windows1250 ? "Windows-1250" : "Windows-1252";
    return "The text cannot be inserted: this document is read in the " + std::string(name)
        + " character set, which has no character " + codePoint + " (\"" + utf8::Encode(missing)
        + "\"). Read the document as UTF-8 (View > UTF-8 Encoding) to insert it.";
}

}  // namespace utils
