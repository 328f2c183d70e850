#include "docsystem/translation_table.h"

#include <gtest/gtest.h>

namespace {

std::string Translated(std::string text, std::map<std::string, std::string> table)
{
    DocumentationJob job;
    job.settings.translationTable = std::move(table);
    ApplyTranslationTable(text, job);
    return text;
}

TEST(TranslationTableTest, LongestKeyAtTheLeftmostPositionWins)
{
    const std::map<std::string, std::string> table = {{"a", "1"}, {"ab", "2"}, {"abc", "3"}, {"bc", "4"}};
    EXPECT_EQ(Translated("abcabxab", table), "3" "2x2");
    EXPECT_EQ(Translated("xbca", table), "x41");
}

TEST(TranslationTableTest, ReplacementsAreNotScannedAgain)
{
    EXPECT_EQ(Translated("aXa", {{"a", "aa"}}), "aaXaa");
    EXPECT_EQ(Translated("ab", {{"a", "b"}, {"bb", "!"}}), "bb");
}

TEST(TranslationTableTest, EmptyTableOrEmptyKeyChangesNothing)
{
    EXPECT_EQ(Translated("text", {}), "text");
    EXPECT_EQ(Translated("text", {{"", "x"}}), "text");
    EXPECT_EQ(Translated("text", {{"", "x"}, {"e", "E"}}), "tExt");
}

TEST(TranslationTableTest, BytesAboveAsciiAndEmptyValuesWork)
{
    EXPECT_EQ(Translated("\xE8\x61\x73", {{"\xE8", "\\v{c}"}, {"s", ""}}), "\\v{c}a");
}

}  // namespace
