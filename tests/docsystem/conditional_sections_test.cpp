#include "docsystem/conditional_sections.h"

#include <gtest/gtest.h>

namespace {

std::string Applied(std::string text, OutputMode mode)
{
    SourceLineMap lines(text);
    ApplyConditionalSections(text, lines, mode);
    return text;
}

TEST(ConditionalSectionsTest, SectionsForOtherOutputsLoseTheirBody)
{
    const std::string text = "start\n%begin{html}\nweb only\nmore\n%end\nmiddle\n%begin{ps,pdf}\npaper\n%end\nend\n";
    EXPECT_EQ(Applied(text, OutputMode::Pdf), "start\n%begin{html}\n%end\nmiddle\n%begin{ps,pdf}\npaper\n%end\nend\n");
    EXPECT_EQ(Applied(text, OutputMode::PostScript), Applied(text, OutputMode::Pdf));
    EXPECT_EQ(Applied(text, OutputMode::Html), "start\n%begin{html}\nweb only\nmore\n%end\nmiddle\n%begin{ps,pdf}\n%end\nend\n");
}

TEST(ConditionalSectionsTest, KindsCompareExactly)
{
    EXPECT_EQ(Applied("x\n%begin{HTML,\"pdf\"}\nbody\n%end\n", OutputMode::Html), "x\n%begin{HTML,\"pdf\"}\n%end\n");
    EXPECT_EQ(Applied("x\n%begin{HTML,\"pdf\"}\nbody\n%end\n", OutputMode::Pdf), "x\n%begin{HTML,\"pdf\"}\nbody\n%end\n");
}

TEST(ConditionalSectionsTest, MarkerOnTheFirstLineIsIgnored)
{
    const std::string text = "%begin{html}\nbody\n%end\n";
    EXPECT_EQ(Applied(text, OutputMode::Pdf), text);
}

TEST(ConditionalSectionsTest, AnyLineBeginningWithEndClosesAndSectionsDoNotNest)
{
    EXPECT_EQ(Applied("x\n%begin{html}\na\n%begin{pdf}\nb\n%endif\nc\n%end\n", OutputMode::Pdf),
              "x\n%begin{html}\n%endif\nc\n%end\n");
}

TEST(ConditionalSectionsTest, LineBreaksOfEveryKindEndTheBeginLine)
{
    EXPECT_EQ(Applied("x\n%begin{html}\r\nbody\r\n%end\r\n", OutputMode::Pdf), "x\n%begin{html}\r\n%end\r\n");
    EXPECT_EQ(Applied("x\n%begin{html}\n\rbody\n%end\n", OutputMode::Pdf), "x\n%begin{html}\n\r%end\n");
}

TEST(ConditionalSectionsTest, MalformedMarkersStopTheText)
{
    // The kinds end at a blank, not at "}".
    const std::string blank = "x\n%begin{ps, pdf}\na\n%end\n%begin{html}\nb\n%end\n";
    EXPECT_EQ(Applied(blank, OutputMode::Pdf), blank);
    const std::string unterminated = "x\n%begin{html}\na\n%end\n%begin{html";
    EXPECT_EQ(Applied(unterminated, OutputMode::Pdf), "x\n%begin{html}\n%end\n%begin{html");
    const std::string unclosed = "x\n%begin{html}\na\n";
    EXPECT_EQ(Applied(unclosed, OutputMode::Pdf), unclosed);
    const std::string lastLine = "x\n%begin{html}";
    EXPECT_EQ(Applied(lastLine, OutputMode::Pdf), lastLine);
}

TEST(ConditionalSectionsTest, EmptySectionRemovesNothingAndLeavesTheNextSectionIntact)
{
    const std::string text = "x\n%begin{html}\n%end\nkept\n%begin{pdf}\npaper\n%end\n";
    EXPECT_EQ(Applied(text, OutputMode::Pdf), text);
    EXPECT_EQ(Applied(text, OutputMode::Html), "x\n%begin{html}\n%end\nkept\n%begin{pdf}\n%end\n");
}

}  // namespace
