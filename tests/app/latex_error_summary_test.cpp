#include "app/latex_error_summary.h"

#include <gtest/gtest.h>

using namespace app;

TEST(LatexErrorSummaryTest, PairsEachErrorWithItsFirstLocationLine)
{
    const std::string log = "This is pdfTeX\r\n"
                            "! Undefined control sequence.\r\n"
                            "l.12 \\foo\r\n"
                            "         bar\n"
                            "l.13 context, not a location\n"
                            "! Emergency stop.\n"
                            "<*> paper.tex\n"
                            "! Missing $ inserted.\n"
                            "l.40 $x\n";
    const std::vector<LatexError> errors = LatexErrors(log);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0].message, "! Undefined control sequence.");
    EXPECT_EQ(errors[0].location, "l.12 \\foo");
    EXPECT_EQ(errors[1].message, "! Emergency stop.");
    EXPECT_EQ(errors[1].location, "");
    EXPECT_EQ(errors[2].location, "l.40 $x");
}

TEST(LatexErrorSummaryTest, CleanLogsAndLookalikesGiveNoErrors)
{
    EXPECT_TRUE(LatexErrors("").empty());
    EXPECT_TRUE(LatexErrors("This is TeX\nOutput written on paper.dvi\nl.5 not after an error\n").empty());
    EXPECT_TRUE(LatexErrors("text ! not at the start\n").empty());
}
