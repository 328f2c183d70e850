#include "documents/latex_scanner.h"

#include "scanned_spans.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using documents_test::CheckSpanContract;
using documents_test::RandomLine;
using documents_test::SlotLetters;

// One letter per character of the line: N normal text, K keyword, C comment, ? any other slot.
char SlotLetter(ColourSlot slot)
{
    switch (slot) {
    case ColourSlot::NormalText:
        return 'N';
    case ColourSlot::Keyword:
        return 'K';
    case ColourSlot::Comment:
        return 'C';
    default:
        return '?';
    }
}

std::string Colours(std::string_view line, const std::vector<ColourSpan>& spans)
{
    return SlotLetters(line, spans, SlotLetter);
}

struct ScanResult {
    std::uint32_t state;
    std::string colours;
    std::vector<ColourSpan> spans;
};

ScanResult Scan(std::string_view line, std::uint32_t state = 0)
{
    std::vector<ColourSpan> spans;
    const auto endState = ScanLatexLine(state, line, &spans);
    return {endState, Colours(line, spans), spans};
}

TEST(LatexScannerTest, EmptyLineKeepsTheIncomingStateAndProducesNoSpan)
{
    EXPECT_EQ(Scan("", 0).state, 0u);
    EXPECT_TRUE(Scan("", 0).spans.empty());
    EXPECT_EQ(Scan("", 3).state, 3u);
    EXPECT_TRUE(Scan("", 3).spans.empty());
}

TEST(LatexScannerTest, PlainTextHasNoSpans)
{
    const auto result = Scan("Just some text, no commands.");
    EXPECT_EQ(result.state, 0u);
    EXPECT_TRUE(result.spans.empty());
}

TEST(LatexScannerTest, CommandWithArgumentIsKeywordThroughTheClosingBrace)
{
    EXPECT_EQ(Scan("\\section{Intro} text").colours, "KKKKKKKKKKKKKKKNNNNN");
    EXPECT_EQ(Scan("\\section*{A}").colours, "KKKKKKKKKKKK");
    EXPECT_EQ(Scan("\\section{Intro} text").state, 0u);
}

TEST(LatexScannerTest, NestedBracesKeepTheArgumentOpenUntilTheOuterBrace)
{
    EXPECT_EQ(Scan("\\textbf{a {b} c} d").colours, "KKKKKKKKKKKKKKKKNN");
    EXPECT_EQ(Scan("\\textbf{a {b} c").state, 1u);
    EXPECT_EQ(Scan("\\textbf{a {b").state, 2u);
}

TEST(LatexScannerTest, EscapedCharactersInsideAnArgumentDoNotChangeTheDepth)
{
    EXPECT_EQ(Scan("\\caption{50\\% done} x").colours, "KKKKKKKKKKKKKKKKKKKNN");
    EXPECT_EQ(Scan("\\caption{a\\{b} x").colours, "KKKKKKKKKKKKKKNN");
    EXPECT_EQ(Scan("\\caption{a\\}b} x").colours, "KKKKKKKKKKKKKKNN");
    // A doubled backslash is an escaped backslash, so the brace after it counts again.
    EXPECT_EQ(Scan("\\caption{a\\\\} x").colours, "KKKKKKKKKKKKKNN");
}

TEST(LatexScannerTest, PercentInsideAnArgumentIsPartOfTheArgument)
{
    EXPECT_EQ(Scan("\\url{a%b} c").colours, "KKKKKKKKKNN");
}

TEST(LatexScannerTest, ArgumentLeftOpenContinuesOnTheNextLine)
{
    const auto first = Scan("\\title{Long");
    EXPECT_EQ(first.state, 1u);
    EXPECT_EQ(first.colours, "KKKKKKKKKKK");

    const auto second = Scan("title} after", first.state);
    EXPECT_EQ(second.state, 0u);
    EXPECT_EQ(second.colours, "KKKKKKNNNNNN");
    ASSERT_FALSE(second.spans.empty());
    EXPECT_EQ(second.spans.front(), (ColourSpan{0, ColourSlot::Keyword}));
}

TEST(LatexScannerTest, ArgumentOpenOverSeveralLinesAndEmptyLines)
{
    auto state = Scan("\\footnote{one {two").state;
    EXPECT_EQ(state, 2u);
    state = Scan("", state).state;
    EXPECT_EQ(state, 2u);
    const auto middle = Scan("three} four", state);
    EXPECT_EQ(middle.state, 1u);
    EXPECT_EQ(middle.colours, "KKKKKKKKKKK");
    const auto last = Scan("five} six", middle.state);
    EXPECT_EQ(last.state, 0u);
    EXPECT_EQ(last.colours, "KKKKKNNNN");
}

TEST(LatexScannerTest, PercentStartsACommentOutsideCommands)
{
    EXPECT_EQ(Scan("50% done").colours, "NNCCCCCC");
    EXPECT_EQ(Scan("% whole line").colours, "CCCCCCCCCCCC");
    // Nothing after the percent sign is scanned: a backslash in the comment is comment.
    const auto result = Scan("a % \\textbf{x");
    EXPECT_EQ(result.colours, "NNCCCCCCCCCCC");
    EXPECT_EQ(result.state, 0u);
}

TEST(LatexScannerTest, ControlSymbolsColourTwoCharacters)
{
    EXPECT_EQ(Scan("\\% done").colours, "KKNNNNN");
    EXPECT_EQ(Scan("a\\\\b").colours, "NKKN");
    EXPECT_EQ(Scan("\\$x").colours, "KKN");
    // A control symbol takes no argument: the brace after it is plain text.
    EXPECT_EQ(Scan("\\,{a}").colours, "KKNNN");
}

TEST(LatexScannerTest, CharacterEndingACommandNameIsPlainText)
{
    EXPECT_EQ(Scan("\\foo%x").colours, "KKKKNN");
    EXPECT_EQ(Scan("\\alpha$ x").colours, "KKKKKKNNN");
    EXPECT_EQ(Scan("\\item text").colours, "KKKKKNNNNN");
}

TEST(LatexScannerTest, CommandDirectlyFollowedByAnotherCommand)
{
    EXPECT_EQ(Scan("\\bf\\it x").colours, "KKKKKKNN");
    EXPECT_EQ(Scan("\\bf\\%x").colours, "KKKKKN");
    EXPECT_EQ(Scan("\\bf\\em{a} b").colours, "KKKKKKKKKNN");
}

TEST(LatexScannerTest, OnlyTheFirstArgumentIsColoured)
{
    EXPECT_EQ(Scan("\\frac{a}{b}").colours, "KKKKKKKKNNN");
    EXPECT_EQ(Scan("\\frac{a}{b}").state, 0u);
}

TEST(LatexScannerTest, BackslashAtTheEndOfALine)
{
    const auto outside = Scan("text \\");
    EXPECT_EQ(outside.state, 0u);
    EXPECT_EQ(outside.colours, "NNNNNK");

    const auto inside = Scan("more \\", 2);
    EXPECT_EQ(inside.state, 2u);
    EXPECT_EQ(inside.colours, "KKKKKK");
}

TEST(LatexScannerTest, CommandNameAtTheEndOfALineDoesNotCarryOver)
{
    EXPECT_EQ(Scan("\\section").state, 0u);
    EXPECT_EQ(Scan("\\section").colours, "KKKKKKKK");
    EXPECT_EQ(Scan("{Intro}", 0).colours, "NNNNNNN");
}

TEST(LatexScannerTest, BytesAbove127AreNeitherLettersNorDigits)
{
    const std::string line = "\\a\xe9x";
    EXPECT_EQ(Scan(line).colours, "KKNN");
    const std::string argument = "\\b{\xe9}";
    EXPECT_EQ(Scan(argument).colours, "KKKKK");
}

TEST(LatexScannerTest, SpansAreInNonDecreasingOrder)
{
    for (const std::string_view line : {"\\a{b}\\c{d}%e", "\\\\\\%\\{x}", "}{\\}{", "\\a\\b\\c"}) {
        for (const std::uint32_t state : {0u, 1u, 3u}) {
            const auto result = Scan(line, state);
            for (std::size_t index = 1; index < result.spans.size(); ++index)
                EXPECT_LE(result.spans[index - 1].start, result.spans[index].start) << line;
            for (const auto& span : result.spans)
                EXPECT_LE(span.start, static_cast<std::int32_t>(line.size())) << line;
        }
    }
}

TEST(LatexScannerTest, NullSpanListGivesTheSameState)
{
    for (const std::string_view line : {"\\title{Long", "a {b} c}", "\\a{{{", "text % {", "\\", "}}}"}) {
        for (const std::uint32_t state : {0u, 1u, 2u}) {
            std::vector<ColourSpan> spans;
            EXPECT_EQ(ScanLatexLine(state, line, nullptr), ScanLatexLine(state, line, &spans)) << line;
        }
    }
}

TEST(LatexScannerTest, RandomLinesKeepTheSpanContract)
{
    // Lines made of the characters the scanner cares about, over several incoming depths.
    constexpr std::string_view Alphabet = "\\{}%*a1 $\xe9";
    std::mt19937 generator(20261206);
    for (int round = 0; round < 2000; ++round) {
        const std::string line = RandomLine(generator, Alphabet, 24);
        const std::uint32_t state = static_cast<std::uint32_t>(round % 4);
        std::vector<ColourSpan> spans;
        const auto endState = ScanLatexLine(state, line, &spans);
        ASSERT_EQ(endState, ScanLatexLine(state, line, nullptr)) << line;
        ASSERT_NE(endState, 0xFFFFFFFFu) << line;
        ASSERT_NO_FATAL_FAILURE(CheckSpanContract(line, spans));
        // Without an incoming depth, only an opening brace can leave an argument open.
        if (line.find('{') == std::string::npos && state == 0) {
            ASSERT_EQ(endState, 0u) << line;
        }
    }
}

TEST(LatexScannerTest, ClosingBraceAtTheEndProducesASpanAtTheLineLength)
{
    const auto result = Scan("\\emph{x}");
    ASSERT_EQ(result.spans.size(), 2u);
    EXPECT_EQ(result.spans[1], (ColourSpan{8, ColourSlot::NormalText}));
}

} // namespace
