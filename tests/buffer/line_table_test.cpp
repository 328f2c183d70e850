#include "buffer/line_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Contents(const LineTable& table)
{
    std::vector<std::string> lines;
    for (std::int32_t line = 0; line < table.Count(); ++line) {
        lines.emplace_back(table[line].Text());
    }
    return lines;
}

TEST(LineTableTest, ArraysAreSizedToTheNextMultipleOfSixteenAndNeverShrink)
{
    LineTable table;
    table.AppendLine("");
    table.AppendLine(std::string(15, 'a'));
    table.AppendLine(std::string(16, 'b'));
    EXPECT_EQ(table[0].capacity, 16);
    EXPECT_EQ(table[1].capacity, 16);
    EXPECT_EQ(table[2].capacity, 32);

    table.AppendChars(1, "c");
    EXPECT_EQ(table[1].capacity, 16) << "a full array is not yet too small";
    table.AppendChars(1, "d");
    EXPECT_EQ(table[1].capacity, 32) << "grown past its array";
    table.TruncateLine(1, 2);
    EXPECT_EQ(table[1].length, 2);
    EXPECT_EQ(table[1].capacity, 32) << "cutting keeps the array";
    EXPECT_EQ(table[1].Text(), "aa");
    table.AppendChars(1, std::string(40, 'e'));
    EXPECT_EQ(table[1].capacity, 48) << "a new array is sized for the new length";
    EXPECT_EQ(table[1].Text(), "aa" + std::string(40, 'e'));
}

TEST(LineTableTest, TextFromTheLineItselfCanBeAppended)
{
    LineTable table;
    table.AppendLine("0123456789");
    table.AppendChars(0, table[0].Text());
    EXPECT_EQ(table[0].Text(), "01234567890123456789");
    table.AppendChars(0, table[0].Text().substr(0, 4));
    EXPECT_EQ(table[0].Text(), "012345678901234567890123");
}

TEST(LineTableTest, ATabEnteringByAnyWayIsNotedUntilTheTableIsCleared)
{
    struct Case {
        const char* what;
        void (*enter)(LineTable&);
    };
    const Case cases[] = {
        {"appended line", [](LineTable& table) { table.AppendLine("a\tb"); }},
        {"inserted line",
         [](LineTable& table) {
             const std::string_view texts[] = {"x", "\t"};
             table.InsertLines(1, texts);
         }},
        {"appended characters", [](LineTable& table) { table.AppendChars(0, "\t"); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        LineTable table;
        table.AppendLine("plain");
        table.AppendLine("text");
        table.AppendChars(1, " more");
        EXPECT_FALSE(table.MayHoldTabs());
        test.enter(table);
        EXPECT_TRUE(table.MayHoldTabs());
        table.TruncateLine(0, 0);
        table.RemoveLines(1, table.Count() - 1);
        EXPECT_TRUE(table.MayHoldTabs()) << "deleting does not look for the last tab";
        table.Clear();
        EXPECT_FALSE(table.MayHoldTabs());
    }
}

TEST(LineTableTest, RandomEditsMatchAPlainModel)
{
    std::mt19937 generator(1206);
    LineTable table;
    std::vector<std::string> model;
    const auto randomText = [&generator]() {
        // Mostly short lines, now and then one longer than the pooled array sizes.
        const std::size_t length = generator() % 10 == 0 ? 1000 + generator() % 3000 : generator() % 90;
        return std::string(length, static_cast<char>('a' + generator() % 26));
    };
    for (int step = 0; step < 20000; ++step) {
        const unsigned operation = generator() % 5;
        if (model.empty() || operation == 0) {
            const std::string text = randomText();
            table.AppendLine(text);
            model.push_back(text);
        } else if (operation == 1) {
            const std::vector<std::string> texts = {randomText(), randomText(), randomText()};
            const std::vector<std::string_view> views(texts.begin(), texts.end());
            const auto index = static_cast<std::int32_t>(generator() % (model.size() + 1));
            table.InsertLines(index, views);
            model.insert(model.begin() + index, texts.begin(), texts.end());
        } else if (operation == 2) {
            const auto first = static_cast<std::int32_t>(generator() % model.size());
            const auto count = static_cast<std::int32_t>(generator() % std::min<std::size_t>(4, model.size() - first + 1));
            table.RemoveLines(first, count);
            model.erase(model.begin() + first, model.begin() + first + count);
        } else if (operation == 3) {
            const auto line = static_cast<std::int32_t>(generator() % model.size());
            const std::string text = randomText();
            table.AppendChars(line, text);
            model[static_cast<std::size_t>(line)] += text;
        } else {
            const auto line = static_cast<std::int32_t>(generator() % model.size());
            const auto length = static_cast<std::int32_t>(generator() % (model[static_cast<std::size_t>(line)].size() + 1));
            table.TruncateLine(line, length);
            model[static_cast<std::size_t>(line)].resize(static_cast<std::size_t>(length));
        }
        if (step % 1000 == 0) {
            ASSERT_EQ(Contents(table), model) << "after step " << step;
        }
    }
    EXPECT_EQ(Contents(table), model);
    for (std::int32_t line = 0; line < table.Count(); ++line) {
        ASSERT_GE(table[line].capacity, table[line].length);
        ASSERT_EQ(table[line].capacity % 16, 0);
    }
}

TEST(LineTableTest, ALoadedTableOfManyLinesKeepsThemAll)
{
    LineTable table;
    table.BeginLoading();
    for (int line = 0; line < 300000; ++line) {
        table.AppendLine(std::to_string(line));
    }
    table.EndLoading();
    ASSERT_EQ(table.Count(), 300000);
    EXPECT_EQ(table[0].Text(), "0");
    EXPECT_EQ(table[123456].Text(), "123456");
    EXPECT_EQ(table[299999].Text(), "299999");
    const std::vector<std::string_view> added = {"new"};
    table.InsertLines(1, added);
    EXPECT_EQ(table[1].Text(), "new");
    EXPECT_EQ(table[300000].Text(), "299999");
    table.Clear();
    EXPECT_EQ(table.Count(), 0);
}

}  // namespace
