#include "platform/qt/character_set_codec.h"

#include <array>
#include <iconv.h>
#include <map>
#include <mutex>

namespace platform::qt {
namespace {

using ByteTable = std::array<char16_t, 256>;

const char* CodePageOf(std::uint8_t characterSet)
{
    return characterSet == 238 ? "CP1250" : "CP1252";
}

// Each byte converted on its own, so one that has no character cannot disturb its neighbours.
ByteTable BuildTable(const char* codePage)
{
    ByteTable table{};
    iconv_t converter = iconv_open("UTF-16LE", codePage);
    for (int byte = 0; byte < 256; ++byte) {
        table[static_cast<std::size_t>(byte)] = byte < 128 ? static_cast<char16_t>(byte) : u'\uFFFD';
        if (byte < 128 || converter == reinterpret_cast<iconv_t>(-1))
            continue;
        char input = static_cast<char>(byte);
        char* inputPointer = &input;
        std::size_t inputLeft = 1;
        unsigned char output[4] = {};
        char* outputPointer = reinterpret_cast<char*>(output);
        std::size_t outputLeft = sizeof(output);
        if (iconv(converter, &inputPointer, &inputLeft, &outputPointer, &outputLeft) != static_cast<std::size_t>(-1)
            && outputLeft == 2)
            table[static_cast<std::size_t>(byte)] = static_cast<char16_t>(output[0] | (output[1] << 8));
    }
    if (converter != reinterpret_cast<iconv_t>(-1))
        iconv_close(converter);
    return table;
}

const ByteTable& TableFor(std::uint8_t characterSet)
{
    static std::mutex mutex;
    static std::map<std::string, ByteTable> tables;
    std::lock_guard lock(mutex);
    const std::string codePage = CodePageOf(characterSet);
    auto found = tables.find(codePage);
    if (found == tables.end())
        found = tables.emplace(codePage, BuildTable(codePage.c_str())).first;
    return found->second;
}

}  // namespace

QString DecodeBytes(std::string_view bytes, std::uint8_t characterSet)
{
    const ByteTable& table = TableFor(characterSet);
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    for (std::size_t index = 0; index < bytes.size(); ++index)
        text[static_cast<qsizetype>(index)] = QChar(table[static_cast<unsigned char>(bytes[index])]);
    return text;
}

std::string EncodeText(const QString& text, std::uint8_t characterSet)
{
    const ByteTable& table = TableFor(characterSet);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar character : text) {
        const char16_t code = character.unicode();
        if (code < 128) {
            bytes += static_cast<char>(code);
            continue;
        }
        char byte = '?';
        for (std::size_t candidate = 0; candidate < table.size(); ++candidate) {
            if (table[candidate] == code && code != u'\uFFFD') {
                byte = static_cast<char>(candidate);
                break;
            }
        }
        bytes += byte;
    }
    return bytes;
}

}  // namespace platform::qt
