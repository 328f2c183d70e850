#include "docsystem/translation_table.h"

#include <gtest/gtest.h>

namespace {

std::string Translated(std::string text, std::map<std::string, std::string> table,
                       TextEncoding encoding = TextEncoding::Legacy)
{
    DocumentationJob job;
    job.settings.translationTable = std::move(table);
    ApplyTranslationTable(text, encoding, job);
    return text;
}

struct TranslationCase {
    const char* text;
    std::map<std::string, std::string> table;
    const char* expected;
};

TEST(TranslationTableTest, LongestLeftmostKeyWinsReplacementsAreNotScannedAgainAndEmptyKeysChangeNothing)
{
    const std::map<std::string, std::string> overlapping = {{"a", "1"}, {"ab", "2"}, {"abc", "3"}, {"bc", "4"}};
    const TranslationCase cases[] = {
        {"abcabxab", overlapping, "3" "2x2"},
        {"xbca", overlapping, "x41"},
        {"aXa", {{"a", "aa"}}, "aaXaa"},
        {"ab", {{"a", "b"}, {"bb", "!"}}, "bb"},
        {"text", {}, "text"},
        {"text", {{"", "x"}}, "text"},
        {"text", {{"", "x"}, {"e", "E"}}, "tExt"},
        {"\xE8\x61\x73", {{"\xE8", "\\v{c}"}, {"s", ""}}, "\\v{c}a"},  // bytes above ASCII, an empty value
    };
    for (const TranslationCase& test : cases)
        EXPECT_EQ(Translated(test.text, test.table), test.expected) << test.text;
}

TEST(TranslationTableTest, Utf8TextsAreTranslatedInWholeCharacters)
{
    const TranslationCase cases[] = {
        {"čaj a kůň", {{"č", "\\v{c}"}, {"ů", "\\r{u}"}}, "\\v{c}aj a k\\r{u}ň"},
        // Keys made of parts of a sequence never match inside one: "\xC5" is the lead byte of ů and
        // ň, "\xAF" the last byte of ů.
        {"kůň", {{"\xC5", "?"}, {"\xAF", "!"}, {"k\xC5", "K"}}, "kůň"},
        // A legacy table met a UTF-8 text: its byte stands for é in Windows-1252 and is inside é here.
        {"café", {{"\xA9", "(c)"}, {"\xE9", "\\'{e}"}}, "café"},
        // A stray byte that is no part of a sequence is a character of its own and may match.
        {"a\xA9" "b é", {{"\xA9", "(c)"}}, "a(c)b é"},
        {"€uro", {{"€", "EUR"}, {"€u", "E-U"}}, "E-Uro"},
    };
    for (const TranslationCase& test : cases)
        EXPECT_EQ(Translated(test.text, test.table, TextEncoding::Utf8), test.expected) << test.text;
    // The same keys in a legacy text are plain bytes.
    EXPECT_EQ(Translated("kůň", {{"\xC5", "?"}}, TextEncoding::Legacy), "k?\xAF?\x88");
}

}  // namespace
