#include "utils/legacy_code_page.h"

#include <gtest/gtest.h>

namespace {

using utils::LegacyByte;
using utils::LegacyCharacter;
using utils::LegacyCodePage;

TEST(LegacyCodePage, BytesAndCharactersOfBothCodePages)
{
    struct Case {
        LegacyCodePage codePage;
        unsigned char byte;
        char32_t character;
    };
    const Case cases[] = {
        {LegacyCodePage::Windows1252, 'a', U'a'},     {LegacyCodePage::Windows1252, 0xE9, U'\u00E9'},
        {LegacyCodePage::Windows1252, 0x80, U'\u20AC'}, {LegacyCodePage::Windows1252, 0x9A, U'\u0161'},
        {LegacyCodePage::Windows1250, 0x8A, U'\u0160'}, {LegacyCodePage::Windows1250, 0xEC, U'\u011B'},
        {LegacyCodePage::Windows1250, 0xE9, U'\u00E9'},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(LegacyCharacter(test.codePage, test.byte), test.character) << int(test.byte);
        EXPECT_EQ(LegacyByte(test.codePage, test.character), test.byte) << int(test.byte);
    }
    EXPECT_EQ(LegacyCharacter(LegacyCodePage::Windows1252, 0x81), U'\uFFFD') << "undefined in 1252";
    EXPECT_EQ(LegacyByte(LegacyCodePage::Windows1252, U'\u011B'), std::nullopt) << "e caron only in 1250";
    EXPECT_EQ(LegacyByte(LegacyCodePage::Windows1252, U'\u4E2D'), std::nullopt);
    EXPECT_EQ(LegacyByte(LegacyCodePage::Windows1252, U'\uFFFD'), std::nullopt);
}

TEST(LegacyCodePage, EveryDefinedByteGoesBackToItself)
{
    for (LegacyCodePage codePage : {LegacyCodePage::Windows1252, LegacyCodePage::Windows1250}) {
        for (int byte = 0; byte < 256; ++byte) {
            const char32_t character = LegacyCharacter(codePage, static_cast<unsigned char>(byte));
            if (character != U'\uFFFD') {
                EXPECT_EQ(LegacyByte(codePage, character), byte) << byte;
            }
        }
    }
    EXPECT_EQ(utils::CodePageOfCharacterSet(238), LegacyCodePage::Windows1250);
    EXPECT_EQ(utils::CodePageOfCharacterSet(0), LegacyCodePage::Windows1252);
    EXPECT_EQ(utils::CodePageOfCharacterSet(1), LegacyCodePage::Windows1252);
}

}  // namespace
