#include "utils/utf8_characters.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using utf8::DecodeAt;

struct DecodeCase {
    std::string bytes;
    char32_t codePoint;
    int length;
    bool valid;
};

TEST(Utf8Decoding, SequencesAreReadWholeAndBadOnesAsOneInvalidByte)
{
    const std::vector<DecodeCase> cases{
        {"A", U'A', 1, true},
        {"\xC3\xA9", U'\u00E9', 2, true},
        {"\xE2\x82\xAC", U'\u20AC', 3, true},
        {"\xF0\x9F\x98\x80", U'\U0001F600', 4, true},
        {"\xF4\x8F\xBF\xBF", U'\U0010FFFF', 4, true},
        {"\xEF\xBF\xBD", U'\uFFFD', 3, true},
        // Overlong forms of "/" and of U+07FF.
        {"\xC0\xAF", utf8::ReplacementCharacter, 1, false},
        {"\xC1\xBF", utf8::ReplacementCharacter, 1, false},
        {"\xE0\x9F\xBF", utf8::ReplacementCharacter, 1, false},
        {"\xF0\x8F\xBF\xBF", utf8::ReplacementCharacter, 1, false},
        // Surrogates and values beyond U+10FFFF.
        {"\xED\xA0\x80", utf8::ReplacementCharacter, 1, false},
        {"\xED\xBF\xBF", utf8::ReplacementCharacter, 1, false},
        {"\xF4\x90\x80\x80", utf8::ReplacementCharacter, 1, false},
        {"\xF5\x80\x80\x80", utf8::ReplacementCharacter, 1, false},
        // A stray continuation byte, a sequence cut short or broken by another byte.
        {"\x80", utf8::ReplacementCharacter, 1, false},
        {"\xE2\x82", utf8::ReplacementCharacter, 1, false},
        {"\xE2\x82Z", utf8::ReplacementCharacter, 1, false},
        {"\xC3", utf8::ReplacementCharacter, 1, false},
        {"\xFF", utf8::ReplacementCharacter, 1, false},
    };
    for (const DecodeCase& testCase : cases) {
        const utf8::Character character = DecodeAt(testCase.bytes, 0);
        EXPECT_EQ(character.codePoint, testCase.codePoint) << testCase.bytes;
        EXPECT_EQ(character.length, testCase.length) << testCase.bytes;
        EXPECT_EQ(character.valid, testCase.valid) << testCase.bytes;
    }
}

TEST(Utf8Decoding, EncodingIsTheInverseOfDecodingForEveryScalarValue)
{
    for (char32_t codePoint = 0; codePoint <= 0x10FFFF; codePoint += (codePoint < 0x3000 ? 1 : 97)) {
        const std::string bytes = utf8::Encode(codePoint);
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
            EXPECT_TRUE(bytes.empty());
            continue;
        }
        const utf8::Character character = DecodeAt(bytes, 0);
        ASSERT_TRUE(character.valid) << std::hex << static_cast<unsigned>(codePoint);
        ASSERT_EQ(character.codePoint, codePoint);
        ASSERT_EQ(character.length, static_cast<int>(bytes.size()));
    }
}

TEST(Utf8Decoding, ValidTextReplacesOnlyTheInvalidBytes)
{
    EXPECT_EQ(utf8::ValidText("a\xC3\xA9\xFF" "b\xE2\x82"), "a\xC3\xA9\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(utf8::ValidText("plain"), "plain");
}

struct WidthCase {
    char32_t codePoint;
    int cells;
};

TEST(Utf8Cells, EastAsianWideAndFullwidthCharactersTakeTwoCells)
{
    const std::vector<WidthCase> cases{
        {U'a', 1},          {U'\u00E9', 1},      {U'\u0416', 1},      {U'\u20AC', 1},
        {U'\u1100', 2},     {U'\u3000', 2},      {U'\u3042', 2},      {U'\u4E2D', 2},
        {U'\uAC00', 2},     {U'\uD7A3', 2},      {U'\uD7A4', 1},      {U'\uFF21', 2},
        {U'\uFF61', 1},     {U'\uFFE0', 2},      {U'\U0001F600', 2},  {U'\U00020000', 2},
        {U'\u303F', 1},     {utf8::ReplacementCharacter, 1},
    };
    for (const WidthCase& testCase : cases)
        EXPECT_EQ(utf8::CellWidth(testCase.codePoint), testCase.cells) << std::hex << static_cast<unsigned>(testCase.codePoint);
}

// "a", "é" (2 bytes), an invalid byte, "中" (3 bytes), "b": character starts 0, 1, 3, 4, 7; end 8.
const std::string Mixed = "a\xC3\xA9\xFF\xE4\xB8\xAD" "b";

TEST(Utf8Navigation, StepsGoFromCharacterStartToCharacterStartBothWays)
{
    const std::vector<int> starts{0, 1, 3, 4, 7, 8};
    for (std::size_t step = 0; step + 1 < starts.size(); ++step) {
        EXPECT_EQ(utf8::NextCharacter(Mixed, starts[step], TextEncoding::Utf8), starts[step + 1]);
        EXPECT_EQ(utf8::PreviousCharacter(Mixed, starts[step + 1], TextEncoding::Utf8), starts[step]);
    }
    EXPECT_EQ(utf8::NextCharacter(Mixed, 8, TextEncoding::Utf8), 8);
    EXPECT_EQ(utf8::PreviousCharacter(Mixed, 0, TextEncoding::Utf8), 0);
    // In a legacy text every byte is a character.
    EXPECT_EQ(utf8::NextCharacter(Mixed, 1, TextEncoding::Legacy), 2);
    EXPECT_EQ(utf8::PreviousCharacter(Mixed, 7, TextEncoding::Legacy), 6);
}

TEST(Utf8Navigation, PositionsInsideACharacterBelongToItsStart)
{
    const std::vector<std::pair<int, int>> indexAndStart{{0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 4}, {5, 4}, {6, 4}, {7, 7}, {8, 8}};
    for (const auto& [index, start] : indexAndStart) {
        EXPECT_EQ(utf8::CharacterStart(Mixed, index, TextEncoding::Utf8), start) << index;
        EXPECT_EQ(utf8::CharacterStart(Mixed, index, TextEncoding::Legacy), index);
    }
    EXPECT_EQ(utf8::CharacterCount(Mixed, 8, TextEncoding::Utf8), 5);
    EXPECT_EQ(utf8::CharacterCount(Mixed, 4, TextEncoding::Utf8), 3);
    EXPECT_EQ(utf8::CharacterCount(Mixed, 8, TextEncoding::Legacy), 8);
    EXPECT_EQ(utf8::CharacterCells(Mixed, 4, TextEncoding::Utf8), 2);
    EXPECT_EQ(utf8::CharacterCells(Mixed, 4, TextEncoding::Legacy), 1);
}

TEST(Utf8Navigation, ABrokenSequenceBeforeAValidOneDoesNotSwallowIt)
{
    // A lead byte followed by a whole sequence: the lead stands alone.
    const std::string text = "\xE2\xC3\xA9";
    EXPECT_EQ(utf8::NextCharacter(text, 0, TextEncoding::Utf8), 1);
    EXPECT_EQ(utf8::NextCharacter(text, 1, TextEncoding::Utf8), 3);
    EXPECT_EQ(utf8::PreviousCharacter(text, 3, TextEncoding::Utf8), 1);
    EXPECT_EQ(utf8::PreviousCharacter(text, 1, TextEncoding::Utf8), 0);
}

TEST(Utf8Navigation, RandomBytesReadTheSameForwardsAndBackwards)
{
    // Bytes drawn mostly from lead and continuation values, so that valid, cut and overlong
    // sequences all occur.
    const std::vector<unsigned char> alphabet{'a', ' ', '\t', 0x80, 0x9F, 0xA0, 0xBF, 0xC0, 0xC2, 0xDF,
                                              0xE0, 0xE4, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 2000; ++round) {
        std::string text(static_cast<std::size_t>(round % 23), ' ');
        for (char& byte : text)
            byte = static_cast<char>(alphabet[pick(random)]);
        std::vector<int> forwards;
        for (int index = 0; index < static_cast<int>(text.size()); index = utf8::NextCharacter(text, index, TextEncoding::Utf8))
            forwards.push_back(index);
        std::vector<int> backwards;
        for (int index = static_cast<int>(text.size()); index > 0;) {
            index = utf8::PreviousCharacter(text, index, TextEncoding::Utf8);
            backwards.insert(backwards.begin(), index);
        }
        ASSERT_EQ(forwards, backwards) << round;
        for (std::size_t start = 0; start < forwards.size(); ++start) {
            const int end = start + 1 < forwards.size() ? forwards[start + 1] : static_cast<int>(text.size());
            for (int index = forwards[start]; index < end; ++index)
                ASSERT_EQ(utf8::CharacterStart(text, index, TextEncoding::Utf8), forwards[start]) << round;
        }
        ASSERT_EQ(utf8::CharacterCount(text, static_cast<int>(text.size()), TextEncoding::Utf8),
                  static_cast<int>(forwards.size()));
    }
}

struct DetectionCase {
    std::vector<std::string> texts;
    TextEncoding expected;
};

TEST(EncodingDetection, MoreValidSequencesThanStrayBytesMeansUtf8)
{
    const std::vector<DetectionCase> cases{
        {{}, TextEncoding::Utf8},
        {{"plain ASCII", "\\section{x}"}, TextEncoding::Utf8},
        {{"P\xC5\x99\xC3\xAD" "li\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD"}, TextEncoding::Utf8},
        // A UTF-8 text with one stray byte stays UTF-8.
        {{"caf\xC3\xA9 na\xC3\xAFve", "\xFF"}, TextEncoding::Utf8},
        // Windows-1250 and Windows-1252 texts.
        {{"P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD"}, TextEncoding::Legacy},
        {{"caf\xE9 na\xEFve \x93quoted\x94"}, TextEncoding::Legacy},
        // As many sequences as stray bytes: legacy.
        {{"\xC3\xA9\xE9"}, TextEncoding::Legacy},
    };
    for (const DetectionCase& testCase : cases) {
        utf8::EncodingDetector detector;
        for (const std::string& text : testCase.texts)
            detector.Count(text);
        EXPECT_EQ(detector.Decision(), testCase.expected) << (testCase.texts.empty() ? "" : testCase.texts.front());
    }
}

}  // namespace
