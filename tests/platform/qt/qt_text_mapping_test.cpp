#include "platform/clipboard.h"
#include "platform/logfont.h"
#include "platform/qt/character_set_codec.h"
#include "platform/qt/qt_font.h"

#include <QFontInfo>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using platform::qt::DecodeBytes;
using platform::qt::EncodeText;

LOGFONT Font(const char* face, int height, std::uint8_t characterSet)
{
    LOGFONT description;
    std::strncpy(description.lfFaceName, face, sizeof(description.lfFaceName) - 1);
    description.lfHeight = height;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = characterSet;
    return description;
}

TEST(CharacterSetCodec, EveryByteIsOneCharacterOfItsCodePage)
{
    const std::string bytes = "a\xE9\x80\x9A\x8A";
    const QString western = DecodeBytes(bytes, ANSI_CHARSET);
    ASSERT_EQ(western.size(), 5);
    EXPECT_EQ(western[1], QChar(0x00E9));  // e acute
    EXPECT_EQ(western[2], QChar(0x20AC));  // euro sign
    EXPECT_EQ(western[3], QChar(0x0161));  // s caron
    EXPECT_EQ(DecodeBytes(bytes, DEFAULT_CHARSET), western);

    const QString central = DecodeBytes(bytes, EASTEUROPE_CHARSET);
    EXPECT_EQ(central[1], QChar(0x00E9));
    EXPECT_EQ(central[3], QChar(0x0161));
    EXPECT_EQ(central[4], QChar(0x0160));  // S caron
    EXPECT_EQ(DecodeBytes("\xEC", EASTEUROPE_CHARSET), QString(QChar(0x011B)));  // e caron, only in 1250

    // A byte without a character still takes its cell.
    EXPECT_EQ(DecodeBytes("\x81", ANSI_CHARSET), QString(QChar(0xFFFD)));
}

TEST(CharacterSetCodec, TextGoesBackToTheSameBytes)
{
    std::string all;
    for (int byte = 1; byte < 256; ++byte)
        all += static_cast<char>(byte);
    for (std::uint8_t characterSet : {ANSI_CHARSET, EASTEUROPE_CHARSET}) {
        const std::string back = EncodeText(DecodeBytes(all, characterSet), characterSet);
        ASSERT_EQ(back.size(), all.size());
        for (std::size_t index = 0; index < all.size(); ++index) {
            const bool unmapped = DecodeBytes(all.substr(index, 1), characterSet)[0] == QChar(0xFFFD);
            if (!unmapped) {
                EXPECT_EQ(back[index], all[index]) << "byte " << index + 1;
            }
        }
    }
    EXPECT_EQ(EncodeText(QString(QChar(0x4E2D)), ANSI_CHARSET), "?") << "no byte for it";
}

TEST(CharacterSetCodec, TheClipboardCarriesTheBytesOfTheText)
{
    ASSERT_TRUE(platform::clipboard::SetText("caf\xE9 \x80"));
    EXPECT_TRUE(platform::clipboard::HasText());
    EXPECT_EQ(platform::clipboard::GetText(), "caf\xE9 \x80");
}

TEST(QtFont, FixedPitchFacesResolveToAnInstalledFixedPitchFontOfTheAskedCellHeight)
{
    for (const char* face : {"Courier New", "FixedSys"}) {
        const platform::qt::QtFont font(Font(face, 16, ANSI_CHARSET));
        EXPECT_TRUE(QFontInfo(font.Font()).fixedPitch()) << face;
        EXPECT_EQ(font.TextExtent("X").cy, 16) << face;
        EXPECT_EQ(font.TextExtent("abcd").cx, 4 * font.TextExtent("X").cx) << face;
    }
    const platform::qt::QtFont courier(Font("Courier New", 16, ANSI_CHARSET));
    EXPECT_EQ(QFontInfo(courier.Font()).family(), "Liberation Mono");
}

}  // namespace
