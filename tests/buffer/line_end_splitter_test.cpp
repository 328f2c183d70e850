#include "buffer/line_end_splitter.h"
#include "buffer/text_file_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

namespace {

using testing::ElementsAre;
using namespace std::string_literals;

// The line end is matched one byte at a time: a byte that breaks a started match is not compared
// with the first byte of the line end again.
std::vector<std::string> SplitByteByByte(std::string_view bytes, std::string_view lineEnd)
{
    std::vector<std::string> lines;
    std::string line;
    std::size_t matched = 0;
    for (char byte : bytes) {
        line.push_back(byte);
        if (byte == lineEnd[matched]) {
            if (++matched == lineEnd.size()) {
                line.resize(line.size() - lineEnd.size());
                lines.push_back(line);
                line.clear();
                matched = 0;
            }
        } else {
            matched = 0;
        }
    }
    lines.push_back(line);
    return lines;
}

std::vector<std::string> SplitInBlocks(std::string_view bytes, std::string_view lineEnd, std::size_t blockSize)
{
    LineTable table;
    LineEndSplitter splitter(table, lineEnd);
    for (std::size_t offset = 0; offset < bytes.size(); offset += blockSize) {
        splitter.Feed(bytes.substr(offset, blockSize));
    }
    splitter.Finish();
    std::vector<std::string> lines;
    for (std::int32_t line = 0; line < table.Count(); ++line) {
        lines.emplace_back(table[line].Text());
    }
    return lines;
}

TEST(LineEndSplitterTest, BrokenMatchesLeaveTheirBytesInTheLine)
{
    EXPECT_THAT(SplitInBlocks("a\r\r\nb", "\r\n", 100), ElementsAre("a\r\r\nb"));
    EXPECT_THAT(SplitInBlocks("a\r\r\r\nb", "\r\n", 100), ElementsAre("a\r\r", "b"));
    EXPECT_THAT(SplitInBlocks("a\n\n\rb", "\n\r", 100), ElementsAre("a\n\n\rb"));
    EXPECT_THAT(SplitInBlocks("a\rb\nc\r\n", "\r\n", 100), ElementsAre("a\rb\nc", ""));
    EXPECT_THAT(SplitInBlocks("x\n\ny", "\n", 100), ElementsAre("x", "", "y"));
    EXPECT_THAT(SplitInBlocks("", "\n", 100), ElementsAre(""));
}

TEST(LineEndSplitterTest, LineEndsSplitAcrossBlocks)
{
    EXPECT_THAT(SplitInBlocks("ab\r\ncd", "\r\n", 3), ElementsAre("ab", "cd"));
    EXPECT_THAT(SplitInBlocks("\r\n\r\n", "\r\n", 1), ElementsAre("", "", ""));
    EXPECT_THAT(SplitInBlocks("a\r\r\nb", "\r\n", 2), ElementsAre("a\r\r\nb"));
    EXPECT_THAT(SplitInBlocks("long line\nx", "\n", 4), ElementsAre("long line", "x"));
}

TEST(LineEndSplitterTest, AgreesWithByteByByteMatchingOnRandomText)
{
    std::mt19937 generator(20261206);
    const std::string alphabet = "\r\r\n\nab\0"s;
    for (std::string_view lineEnd : {"\r\n", "\n\r", "\n"}) {
        for (int round = 0; round < 300; ++round) {
            std::string bytes(generator() % 200, ' ');
            for (char& byte : bytes) {
                byte = alphabet[generator() % alphabet.size()];
            }
            const std::size_t blockSize = 1 + generator() % 17;
            ASSERT_EQ(SplitInBlocks(bytes, lineEnd, blockSize), SplitByteByByte(bytes, lineEnd))
                << "block size " << blockSize;
        }
    }
}

TEST(LineEndingStyleDetectionTest, TheFirstLineFeedDecides)
{
    EXPECT_EQ(DetectLineEndingStyle("one\r\ntwo\nthree\n"), LineEndingStyle::CrLf);
    EXPECT_EQ(DetectLineEndingStyle("one\n\rtwo"), LineEndingStyle::LfCr);
    EXPECT_EQ(DetectLineEndingStyle("one\ntwo\r\n"), LineEndingStyle::Lf);
    EXPECT_EQ(DetectLineEndingStyle("\n\r"), LineEndingStyle::LfCr);
    EXPECT_EQ(DetectLineEndingStyle("\nabc"), LineEndingStyle::Lf) << "line feed as the first byte";
    EXPECT_EQ(DetectLineEndingStyle("abc\n"), LineEndingStyle::Lf) << "line feed as the last byte";
    EXPECT_EQ(DetectLineEndingStyle("a\rb\rc"), LineEndingStyle::Lf) << "no line feed: the native style";
    EXPECT_EQ(DetectLineEndingStyle(""), LineEndingStyle::Lf);
}

}  // namespace
