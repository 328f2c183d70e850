#include "platform/clipboard.h"
#include "platform/logfont.h"
#include "platform/qt/character_set_codec.h"
#include "platform/qt/qt_font.h"

#include <QFontInfo>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using platform::qt::DecodeBytes;

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

TEST(CharacterSetCodec, TheClipboardCarriesUnicodeTextInUtf8)
{
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD";
    ASSERT_TRUE(platform::clipboard::SetText(text));
    EXPECT_TRUE(platform::clipboard::HasText());
    EXPECT_EQ(platform::clipboard::GetText(), text);
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
