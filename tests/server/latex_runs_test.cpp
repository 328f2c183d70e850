#include "latex_runs.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

TEST(LatexLog, AsksForAnotherRunWhenLatexSaysSo)
{
    EXPECT_TRUE(LogRequestsRerun("LaTeX Warning: Label(s) may have changed. Rerun to get cross-references right.\n"));
    EXPECT_TRUE(LogRequestsRerun("Package rerunfilecheck Warning: File `x.out' has changed.\n(rerunfilecheck) Rerun to get outlines right\n"));
    EXPECT_TRUE(LogRequestsRerun("Package longtable Warning: Table widths have changed. Rerun LaTeX.\n"));
    EXPECT_FALSE(LogRequestsRerun("LaTeX Warning: There were undefined references.\nOutput written on x.dvi\n"));
}

TEST(LatexLog, FindsErrorLines)
{
    EXPECT_TRUE(LogShowsErrors("(./x.tex\n! Undefined control sequence.\nl.3 \\foo\n"));
    EXPECT_TRUE(LogShowsErrors("! Emergency stop.\n"));
    EXPECT_FALSE(LogShowsErrors("Overfull \\hbox (badness 10000)! in paragraph\nOutput written\n"));
}

}  // namespace
}  // namespace torvel
