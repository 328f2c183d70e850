#include "documents/html_scanner.h"

#include "scanned_spans.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using documents_test::CheckSpanContract;
using documents_test::RandomLine;
using documents_test::SlotLetters;

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
    return {endState, SlotLetters(line, spans, SlotLetter)};
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
    for (int round = 0; round < 2000; ++round) {
        const std::string line = RandomLine(generator, Alphabet, 30);
        const std::uint32_t state = static_cast<std::uint32_t>(round % 2);
        std::vector<ColourSpan> spans;
        const auto endState = ScanHtmlLine(state, line, &spans);
        ASSERT_EQ(endState, ScanHtmlLine(state, line, nullptr)) << line;
        ASSERT_LE(endState, 1u) << line;
        ASSERT_NO_FATAL_FAILURE(CheckSpanContract(line, spans));
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
