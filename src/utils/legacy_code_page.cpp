#include "utils/legacy_code_page.h"

#include <array>
#include <iconv.h>

namespace utils {
namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

using ByteTable = std::array<char32_t, 256>;

// Each byte converted on its own, so one that has no character cannot disturb its neighbours.
ByteTable BuildTable(const char* codePage)
{
    ByteTable table{};
    iconv_t converter = iconv_open("UTF-32LE", codePage);
    for (int byte = 0; byte < 256; ++byte) {
        table[static_cast<std::size_t>(byte)] = byte < 128 ? static_cast<char32_t>(byte) : ReplacementCharacter;
        if (byte < 128 || converter == reinterpret_cast<iconv_t>(-1))
            continue;
        char input = static_cast<char>(byte);
        char* inputPointer = &input;
        std::size_t inputLeft = 1;
        unsigned char output[8] = {};
        char* outputPointer = reinterpret_cast<char*>(output);
        std::size_t outputLeft = sizeof(output);
        if (iconv(converter, &inputPointer, &inputLeft, &outputPointer, &outputLeft) != static_cast<std::size_t>(-1)
            && outputLeft == 4)
            table[static_cast<std::size_t>(byte)] = static_cast<char32_t>(output[0] | (output[1] << 8) | (output[2] << 16));
    }
    if (converter != reinterpret_cast<iconv_t>(-1))
        iconv_close(converter);
    return table;
}

// Built once per process; function-local statics are initialised safely from any thread.
const ByteTable& TableOf(LegacyCodePage codePage)
{
    static const ByteTable western = BuildTable("CP1252");
    static const ByteTable central = BuildTable("CP1250");
    return codePage == LegacyCodePage::Windows1250 ? central : western;
}

}  // namespace

LegacyCodePage CodePageOfCharacterSet(std::uint8_t characterSet)
{
    constexpr std::uint8_t EastEuropeCharacterSet = 238;
    return characterSet == EastEuropeCharacterSet ? LegacyCodePage::Windows1250 : LegacyCodePage::Windows1252;
}

char32_t LegacyCharacter(LegacyCodePage codePage, unsigned char byte)
{
    return TableOf(codePage)[byte];
}

std::optional<unsigned char> LegacyByte(LegacyCodePage codePage, char32_t character)
{
    if (character < 128)
        return static_cast<unsigned char>(character);
    if (character == ReplacementCharacter)
        return std::nullopt;
    const ByteTable& table = TableOf(codePage);
    for (std::size_t byte = 128; byte < table.size(); ++byte) {
        if (table[byte] == character)
            return static_cast<unsigned char>(byte);
    }
    return std::nullopt;
}

}  // namespace utils
