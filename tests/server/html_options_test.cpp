#include "html_options.h"
#include "protocol_error.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

TEST(HtmlOptions, MovesTheScaleFactorsOfTheDefaultOptionsIntoTheInitFile)
{
    const HtmlOptions options =
        ParseHtmlOptions("-no_navigation -split 0 -link 0 -math_scale_factor 1.29 -figure_scale_factor 1.29");
    EXPECT_EQ(options.arguments, (std::vector<std::string>{"-no_navigation", "-split", "0", "-link", "0"}));
    EXPECT_EQ(options.mathScaleFactor, "1.29");
    EXPECT_EQ(options.figureScaleFactor, "1.29");
}

TEST(HtmlOptions, AcceptsSwitchesInEveryFormAndQuotedTexts)
{
    const HtmlOptions options = ParseHtmlOptions("-nonavigation -navigation -no_footnode -title \"My paper\" -address \"\"me\"\"");
    EXPECT_EQ(options.arguments,
              (std::vector<std::string>{"-nonavigation", "-navigation", "-no_footnode", "-title", "My paper", "-address", "\"me\""}));
    EXPECT_TRUE(ParseHtmlOptions("").arguments.empty());
}

TEST(HtmlOptions, RefusesOptionsThatReachFilesProgramsOrCode)
{
    for (const std::string text : {"-init_file evil.pl", "-dir /tmp/out", "-rootdir /", "-prefix ../x", "-tmp /",
                                   "-external_file /etc/passwd", "-validate", "-style http://x", "-debug",
                                   "-use_pdftex", "-image_type gif", "paper.tex", "-split"}) {
        EXPECT_THROW(ParseHtmlOptions(text), ProtocolError) << text;
    }
}

TEST(HtmlOptions, RefusesBadValues)
{
    for (const std::string text : {"-split x", "-math_scale_factor 1;system('id')", "-font_size 10", "-iso_language e;n",
                                   "-html_version 4.0,$x", "-title \"unclosed"}) {
        EXPECT_THROW(ParseHtmlOptions(text), ProtocolError) << text;
    }
}

TEST(HtmlOptions, NamesTheRefusedOption)
{
    try {
        ParseHtmlOptions("-split 0 -init_file x.pl");
        FAIL() << "accepted";
    } catch (const ProtocolError& refusal) {
        EXPECT_STREQ(refusal.what(), "latex2html option -init_file is not allowed on this server");
    }
}

}  // namespace
}  // namespace torvel
