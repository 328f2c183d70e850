#include "docsystem/conditional_sections.h"

#include <gtest/gtest.h>

namespace {

std::string Applied(std::string text, OutputMode mode)
{
    SourceLineMap lines(text);
    ApplyConditionalSections(text, lines, mode);
    return text;
}

struct SectionCase {
    const char* behaviour;
    std::string text;
    OutputMode mode;
    std::string expected;
};

TEST(ConditionalSectionsTest, SectionsForOtherOutputsLoseTheirBodyAndMalformedMarkersStopTheText)
{
    const std::string twoSections = "start\n%begin{html}\nweb only\nmore\n%end\nmiddle\n%begin{ps,pdf}\npaper\n%end\nend\n";
    const std::string paperOnly = "start\n%begin{html}\n%end\nmiddle\n%begin{ps,pdf}\npaper\n%end\nend\n";
    const std::string emptyFirst = "x\n%begin{html}\n%end\nkept\n%begin{pdf}\npaper\n%end\n";
    const std::string blankInKinds = "x\n%begin{ps, pdf}\na\n%end\n%begin{html}\nb\n%end\n";
    const SectionCase cases[] = {
        {"other output loses its body", twoSections, OutputMode::Pdf, paperOnly},
        {"PostScript is a paper output too", twoSections, OutputMode::PostScript, paperOnly},
        {"html keeps its own", twoSections, OutputMode::Html,
         "start\n%begin{html}\nweb only\nmore\n%end\nmiddle\n%begin{ps,pdf}\n%end\nend\n"},
        {"kinds compare exactly", "x\n%begin{HTML,\"pdf\"}\nbody\n%end\n", OutputMode::Html, "x\n%begin{HTML,\"pdf\"}\n%end\n"},
        {"quoted kind is not pdf", "x\n%begin{HTML,\"pdf\"}\nbody\n%end\n", OutputMode::Pdf, "x\n%begin{HTML,\"pdf\"}\nbody\n%end\n"},
        {"marker on the first line is ignored", "%begin{html}\nbody\n%end\n", OutputMode::Pdf, "%begin{html}\nbody\n%end\n"},
        {"any line beginning with end closes; no nesting", "x\n%begin{html}\na\n%begin{pdf}\nb\n%endif\nc\n%end\n",
         OutputMode::Pdf, "x\n%begin{html}\n%endif\nc\n%end\n"},
        {"CR LF ends the begin line", "x\n%begin{html}\r\nbody\r\n%end\r\n", OutputMode::Pdf, "x\n%begin{html}\r\n%end\r\n"},
        {"LF CR ends the begin line", "x\n%begin{html}\n\rbody\n%end\n", OutputMode::Pdf, "x\n%begin{html}\n\r%end\n"},
        {"kinds end at a blank, not at the brace", blankInKinds, OutputMode::Pdf, blankInKinds},
        {"unterminated kinds stop the text", "x\n%begin{html}\na\n%end\n%begin{html", OutputMode::Pdf,
         "x\n%begin{html}\n%end\n%begin{html"},
        {"unclosed section stays", "x\n%begin{html}\na\n", OutputMode::Pdf, "x\n%begin{html}\na\n"},
        {"begin on the last line stays", "x\n%begin{html}", OutputMode::Pdf, "x\n%begin{html}"},
        {"empty section removes nothing", emptyFirst, OutputMode::Pdf, emptyFirst},
        {"empty section leaves the next intact", emptyFirst, OutputMode::Html,
         "x\n%begin{html}\n%end\nkept\n%begin{pdf}\n%end\n"},
    };
    for (const SectionCase& testCase : cases) {
        SCOPED_TRACE(testCase.behaviour);
        EXPECT_EQ(Applied(testCase.text, testCase.mode), testCase.expected);
    }
}

}  // namespace
