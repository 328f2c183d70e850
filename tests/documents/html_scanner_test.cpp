#include "documents/html_scanner.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// One letter per character of the line: N normal text, C comment, T tag name, M markup,
// A attribute or entity, O other name, ? any other slot.
char SlotLetter(ColourSlot slot)
{
    switch (slot) {
    case ColourSlot::NormalText:
        return 'N';
    case ColourSlot::Comment:
        return 'C';
    case ColourSlot::HtmlTagName:
        return 'T';
    case ColourSlot::HtmlMarkup:
        return 'M';
    case ColourSlot::HtmlAttribute:
        return 'A';
    case ColourSlot::HtmlOtherName:
        return 'O';
    default:
        return '?';
    }
}

struct ScanResult {
    std::uint32_t state;
    std::string colours;
};

ScanResult Scan(std::string_view line, std::uint32_t state = 0)
{
    std::vector<ColourSpan> spans;
    const auto endState = ScanHtmlLine(state, line, &spans);
    std::string letters(line.size(), 'N');
    for (std::size_t index = 0; index < spans.size(); ++index) {
        const auto end = index + 1 < spans.size() ? spans[index + 1].start : static_cast<std::int32_t>(line.size());
        for (auto position = spans[index].start; position < end; ++position)
            letters[static_cast<std::size_t>(position)] = SlotLetter(spans[index].slot);
    }
    return {endState, letters};
}

TEST(HtmlScannerTest, ColoursTagsAttributesEntitiesAndComments)
{
    struct Case {
        std::string line;
        std::string colours;
        std::uint32_t incoming = 0;
        std::uint32_t state = 0;
    };
    const Case cases[] = {
        {"plain text", "NNNNNNNNNN"},
        // Case is ignored; the quoted value stays markup; text resumes after ">".
        {"<TABLE border=\"1\">x", "MTTTTTMAAAAAAMMMMMN"},
        // A name after "=" is an unquoted value; "title" is a tag name even as an attribute.
        {"<a title=x>", "MTMTTTTTMMM"},
        {"<a href=\"x\" onclick=y>", "MTMAAAAMMMMMOOOOOOOMMM"},
        {"</body>", "MMTTTTM"},
        {"<my-tag data_x>", "MOOOOOOMOOOOOOM"},
        // Only known entities closed by ";" are coloured.
        {"a &nbsp; b &copy; c &#160; &lt &AMP;", "NNAAAAAANNNNNNNNNNNNNNNNNNNNNNNAAAAA"},
        {"<!-- note", "CCCCCCCCC", 0, 1},
        {"end --> text", "CCCCCCCNNNNN", 1, 0},
        {"<!---->x", "CCCCCCCN"},
        {"still inside", "CCCCCCCCCCCC", 1, 1},
        {"", "", 1, 1},
        {"", "", 0, 0},
        // Inside a tag, neither comments nor entities are recognised; "=" inside a string counts.
        {"<p x=\"<!--&amp;\">", "MTMOMMMMMMMMMMMMM"},
        // A tag left open ends with the line: the next line starts as text.
        {"<img src=\"a", "MTTTMAAAMMM"},
        {"b\">c", "NNNN"},
    };
    for (const Case& example : cases) {
        const ScanResult result = Scan(example.line, example.incoming);
        EXPECT_EQ(result.colours, example.colours) << example.line;
        EXPECT_EQ(result.state, example.state) << example.line;
    }
}

TEST(HtmlScannerTest, RandomLinesKeepTheSpanContract)
{
    constexpr std::string_view Alphabet = "<>!-=\"&;/ aBt1_\xe9";
    std::mt19937 generator(20261206);
    std::uniform_int_distribution<std::size_t> pick(0, Alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 30);
    for (int round = 0; round < 2000; ++round) {
        std::string line;
        for (int index = length(generator); index > 0; --index)
            line.push_back(Alphabet[pick(generator)]);
        const std::uint32_t state = static_cast<std::uint32_t>(round % 2);
        std::vector<ColourSpan> spans;
        const auto endState = ScanHtmlLine(state, line, &spans);
        ASSERT_EQ(endState, ScanHtmlLine(state, line, nullptr)) << line;
        ASSERT_LE(endState, 1u) << line;
        ASSERT_LE(spans.size(), 3 * line.size()) << line;
        for (std::size_t index = 0; index < spans.size(); ++index) {
            ASSERT_GE(spans[index].start, 0) << line;
            ASSERT_LE(spans[index].start, static_cast<std::int32_t>(line.size())) << line;
            if (index > 0) {
                ASSERT_LE(spans[index - 1].start, spans[index].start) << line;
            }
        }
        // Only "<!--" opens a comment, and only "-->" closes one.
        if (state == 0 && line.find("<!--") == std::string::npos) {
            ASSERT_EQ(endState, 0u) << line;
        }
        if (state == 1 && line.find("-->") == std::string::npos) {
            ASSERT_EQ(endState, 1u) << line;
        }
    }
}

}  // namespace
