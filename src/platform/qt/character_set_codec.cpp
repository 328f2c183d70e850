#include "platform/qt/character_set_codec.h"

#include "utils/legacy_code_page.h"

namespace platform::qt {

QString DecodeBytes(std::string_view bytes, std::uint8_t characterSet)
{
    const utils::LegacyCodePage codePage = utils::CodePageOfCharacterSet(characterSet);
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    for (std::size_t index = 0; index < bytes.size(); ++index)
        text[static_cast<qsizetype>(index)] = QChar(static_cast<char16_t>(utils::LegacyCharacter(codePage, static_cast<unsigned char>(bytes[index]))));
    return text;
}

}  // namespace platform::qt
