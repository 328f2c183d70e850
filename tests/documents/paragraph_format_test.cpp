#include "buffer/quill_text_buffer.h"
#include "documents/paragraph_format.h"
#include "utils/utf8_characters.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A buffer holding `text`, lines separated by "\r\n".
std::unique_ptr<CQuillTextBuffer> BufferWith(const std::string& text)
{
    auto buffer = std::make_unique<CQuillTextBuffer>();
    buffer->CreateEmpty(LineEndingStyle::Lf);
    std::int32_t endLine = 0;
    std::int32_t endChar = 0;
    buffer->InsertText(nullptr, 0, 0, text, endLine, endChar, 0);
    return buffer;
}

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string Words(int count, const std::string& word)
{
    std::string text;
    for (int index = 0; index < count; ++index)
        text += (index == 0 ? "" : " ") + word;
    return text;
}

TEST(ParagraphFormatTest, ReplacesTheLinesThatShareTheCaretLinesIndent)
{
    struct Case {
        const char* name;
        std::string text;
        int caretLine;
        TextPosition start;
        TextPosition end;
        std::string replacement;
        TextPosition caret;
    };
    const Case cases[] = {
        {"paragraph between blank lines", "intro\r\n\r\none two\r\nthree\r\n\r\nafter", 3, {0, 2}, {0, 4},
         "one two three\r\n", {13, 2}},
        {"paragraph at the start, caret on its first line", "a  b\r\n c\r\n", 0, {0, 0}, {0, 1}, "a b\r\n", {3, 0}},
        {"lines with another indent end the paragraph", "  one\r\n  two\r\n\tthree\r\n  four", 1, {0, 0}, {0, 2},
         "  one two\r\n", {9, 0}},
        {"the last lines of the text gain a line break", "x\r\n\r\nlast one\r\nline", 3, {0, 2}, {4, 3},
         "last one line\r\n", {13, 2}},
        {"an overlong word keeps its own line", std::string(80, 'w') + " end", 0, {0, 0}, {84, 0},
         std::string(80, 'w') + "\r\nend\r\n", {3, 1}},
    };
    for (const Case& example : cases) {
        const auto buffer = BufferWith(example.text);
        const auto replacement = FormatParagraph(*buffer, example.caretLine);
        ASSERT_TRUE(replacement) << example.name;
        EXPECT_EQ(replacement->start, example.start) << example.name;
        EXPECT_EQ(replacement->end, example.end) << example.name;
        EXPECT_EQ(replacement->text, example.replacement) << example.name;
        EXPECT_EQ(replacement->caret, example.caret) << example.name;
    }
}

TEST(ParagraphFormatTest, BlankOrEmptyCaretLineChangesNothing)
{
    const auto buffer = BufferWith("text\r\n\r\n \t \r\nmore");
    EXPECT_FALSE(FormatParagraph(*buffer, 1));
    EXPECT_FALSE(FormatParagraph(*buffer, 2));
}

TEST(ParagraphFormatTest, LongParagraphsWrapToTheWidthLeftBesideTheIndent)
{
    struct Case {
        std::string indent;
        std::size_t widest;  // characters after the indent
    };
    for (const Case& example : {Case{"", 74}, Case{"\t", 70}, Case{"   ", 71}}) {
        const auto buffer = BufferWith(example.indent + Words(60, "word") + "\r\n" + example.indent + "tail");
        const auto replacement = FormatParagraph(*buffer, 0);
        ASSERT_TRUE(replacement);
        const auto lines = LinesOf(replacement->text);
        ASSERT_GT(lines.size(), 3u);
        for (const std::string& line : lines) {
            ASSERT_TRUE(line.starts_with(example.indent)) << line;
            EXPECT_LE(line.size() - example.indent.size(), example.widest) << line;
            EXPECT_NE(line[example.indent.size()], ' ') << line;
        }
        EXPECT_GT(lines.front().size() - example.indent.size(), example.widest - 5) << "filled greedily";
        EXPECT_TRUE(lines.back().ends_with("tail"));
        EXPECT_EQ(replacement->caret, (TextPosition{static_cast<std::int32_t>(lines.back().size()),
                                                    static_cast<std::int32_t>(lines.size()) - 1}));
    }
}

TEST(ParagraphFormatTest, Utf8TextWrapsByCharactersAndNeverInsideOne)
{
    // Two bytes per letter: a byte count would give lines of half the width.
    const auto buffer = BufferWith(Words(40, "\xc5\xbe\x6c\x75\xc5\xa5\x6f\x75\xc4\x8d\x6b\xc3\xbd"));
    ASSERT_EQ(buffer->Encoding(), TextEncoding::Utf8);
    const auto replacement = FormatParagraph(*buffer, 0);
    ASSERT_TRUE(replacement);
    const auto lines = LinesOf(replacement->text);
    for (const std::string& line : lines) {
        const int characters = utf8::CharacterCount(line, static_cast<int>(line.size()), TextEncoding::Utf8);
        EXPECT_EQ(utf8::ValidText(line), line) << "a sequence was cut";
        EXPECT_LE(characters, 74) << line;
        if (&line != &lines.back()) {
            EXPECT_GT(characters, 64) << line;
        }
    }
    // The same bytes read in a legacy set count every byte.
    CQuillTextBuffer& legacy = *buffer;
    legacy.SetEncoding(TextEncoding::Legacy);
    const auto byBytes = FormatParagraph(legacy, 0);
    ASSERT_TRUE(byBytes);
    EXPECT_GT(LinesOf(byBytes->text).size(), lines.size());
}

}  // namespace
