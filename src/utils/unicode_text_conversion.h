#pragma once

#include "utils/legacy_code_page.h"
#include "utils/utf8_characters.h"

#include <optional>
#include <string>
#include <string_view>

// Between a document's bytes and Unicode text in UTF-8 (the clipboard, dropped text, typed
// characters). A UTF-8 document keeps its bytes; a legacy one maps each byte through its code page.
namespace utils {

struct DocumentCharacterSet {
    TextEncoding encoding = TextEncoding::Utf8;
    LegacyCodePage codePage = LegacyCodePage::Windows1252;
};

// The Unicode text of document bytes; invalid UTF-8 bytes and undefined legacy bytes become the
// replacement character.
std::string UnicodeOfDocumentText(std::string_view bytes, DocumentCharacterSet characterSet);

// The document bytes of a Unicode text. A legacy document cannot take a character its code page
// lacks: then `missing` names the first such character and `bytes` is empty.
struct DocumentText {
    std::string bytes;
    std::optional<char32_t> missing;
};
DocumentText DocumentTextOfUnicode(std::string_view unicodeText, DocumentCharacterSet characterSet);

// The message for a text a legacy document cannot take because of `missing`.
std::string MissingCharacterMessage(char32_t missing, LegacyCodePage codePage);

}  // namespace utils
