#include "app/windowless_options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace app;

namespace {

std::string UsageErrorOf(const std::vector<std::string>& arguments)
{
    try {
        ParseWindowlessOptions(arguments);
    } catch (const UsageError& error) {
        return error.what();
    }
    return "accepted";
}

}  // namespace

TEST(WindowlessOptionsTest, ReadsEveryOptionInBothForms)
{
    const WindowlessOptions options = ParseWindowlessOptions(
        {"--address", "texhost:3000", "--output=html", "--html-options=-split 3", "--local", "run.sh", "/docs/Paper.tex"});
    EXPECT_EQ(options.mode, OutputMode::Html);
    EXPECT_EQ(options.address, "texhost:3000");
    EXPECT_EQ(options.htmlOptions, "-split 3");
    EXPECT_EQ(options.localScript, "run.sh");
    EXPECT_EQ(options.documentPath, "/docs/Paper.tex");
}

TEST(WindowlessOptionsTest, ModesAndDefaults)
{
    EXPECT_EQ(ParseWindowlessOptions({"--output", "ps", "/a.tex"}).mode, OutputMode::PostScript);
    const WindowlessOptions pdf = ParseWindowlessOptions({"--output", "pdf", "/a.tex"});
    EXPECT_EQ(pdf.mode, OutputMode::Pdf);
    EXPECT_FALSE(pdf.address);
    EXPECT_FALSE(pdf.htmlOptions);
    EXPECT_FALSE(pdf.localScript);
    // An empty option string is a value of its own, not the absence of the option.
    EXPECT_EQ(ParseWindowlessOptions({"--output", "html", "--html-options", "", "/a.tex"}).htmlOptions, "");
}

TEST(WindowlessOptionsTest, RelativeFilesBecomeAbsolute)
{
    const WindowlessOptions options = ParseWindowlessOptions({"--output", "ps", "sub/../paper.tex"});
    EXPECT_EQ(options.documentPath, (std::filesystem::current_path() / "paper.tex").string());
    EXPECT_EQ(ParseWindowlessOptions({"--output", "ps", "--", "-odd.tex"}).documentPath,
              (std::filesystem::current_path() / "-odd.tex").string());
}

TEST(WindowlessOptionsTest, RefusesWhatIsNotTheDocumentedForm)
{
    EXPECT_EQ(UsageErrorOf({"/a.tex"}), "--output is required");
    EXPECT_EQ(UsageErrorOf({"--output", "ps"}), "no LaTeX file given");
    EXPECT_EQ(UsageErrorOf({"--output", "dvi", "/a.tex"}), "unknown output kind 'dvi' (expected ps, pdf or html)");
    EXPECT_EQ(UsageErrorOf({"--output", "PS", "/a.tex"}), "unknown output kind 'PS' (expected ps, pdf or html)");
    EXPECT_EQ(UsageErrorOf({"--output", "ps", "/a.tex", "/b.tex"}), "more than one file given");
    EXPECT_EQ(UsageErrorOf({"--output", "ps", "--verbose", "/a.tex"}), "unknown option --verbose");
    EXPECT_EQ(UsageErrorOf({"--output", "ps", "/a.tex", "--address"}), "--address needs a value");
    EXPECT_EQ(UsageErrorOf({"--output", "ps", "--output", "pdf", "/a.tex"}), "--output given twice");
}

TEST(WindowlessOptionsTest, WindowlessModeIsChosenByItsOptionsOrHelp)
{
    EXPECT_TRUE(RequestsWindowlessRun({"--output", "ps", "a.tex"}));
    EXPECT_TRUE(RequestsWindowlessRun({"a.tex", "--local=x.sh"}));
    EXPECT_TRUE(RequestsWindowlessRun({"--help"}));
    EXPECT_FALSE(RequestsWindowlessRun({"a.tex"}));
    EXPECT_FALSE(RequestsWindowlessRun({}));
    EXPECT_FALSE(RequestsWindowlessRun({"http://host/page.html"}));
}
