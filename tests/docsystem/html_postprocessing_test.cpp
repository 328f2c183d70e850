#include "docsystem/html_postprocessing.h"
#include "docsystem/marker_expansion.h"
#include "docsystem_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/resource.h>

namespace {

using docsystem::testing::FixtureTree;
using ::testing::ElementsAre;

class HtmlPostProcessingTest : public ::testing::Test {
protected:
    std::string Processed(const std::string& page, const std::string& pagePath = "/out/paper/node1.html")
    {
        utils::TextBuffer buffer(page);
        PostProcessHtmlText(buffer, pagePath, settings, rules, images, "paper");
        return std::string(buffer.Text());
    }

    std::string Expanded(const std::string& page)
    {
        utils::TextBuffer buffer(page);
        ExpandRuleMarkers(buffer, rules, images);
        return std::string(buffer.Text());
    }

    void LoadRules(const std::string& lines) { ASSERT_TRUE(rules.Load(tree.Write("postprocess.txt", lines), nextId)); }

    FixtureTree tree;
    DocumentSettings settings;
    PostProcessTable rules;
    std::vector<std::string> images;
    std::int32_t nextId = 1;
};

TEST_F(HtmlPostProcessingTest, IndexPageLinksIntoTheDocumentBecomeLocal)
{
    const std::string page = "<A HREF=\"paper.html#s1\">1</A> <A HREF=\"Paper.html#s2\">2</A>";
    EXPECT_EQ(Processed(page, "/out/paper/Index.html"), "<A HREF=\"#s1\">1</A> <A HREF=\"Paper.html#s2\">2</A>");
    EXPECT_EQ(Processed(page, "/out/paper/chap1.html"), page);
}

TEST_F(HtmlPostProcessingTest, BreaksLeaveOnlyTheMainHeading)
{
    EXPECT_EQ(Processed("a<br><H1>Title<BR>of<br>paper</h1>after<BR>"), "a<br><H1>Titleofpaper</h1>after<BR>");
    EXPECT_EQ(Processed("<h1>open<br>"), "<h1>open<br>");
}

TEST_F(HtmlPostProcessingTest, AnchorsLoseTrailingSpacesAndTablesGainBorderColours)
{
    EXPECT_EQ(Processed("<A NAME=\"x\">&#160;</a>"), "<A NAME=\"x\"></A>");
    EXPECT_EQ(Processed("<TABLE BORDER=\"1\"><TABLE border=\"1\"><TABLE BORDER=\"1\">"),
              "<TABLE CELLSPACING=0 BORDERCOLOR=BLACK BORDERCOLORDARK=WHITE BORDER=\"1\"><TABLE border=\"1\">"
              "<TABLE CELLSPACING=0 BORDERCOLOR=BLACK BORDERCOLORDARK=WHITE BORDER=\"1\">");
}

TEST_F(HtmlPostProcessingTest, StyleSheetLineIsReplacedOrRemoved)
{
    const std::string page = "<HEAD>\n<LINK REL=\"STYLESHEET\" HREF=\"paper.css\">\n</HEAD>";
    EXPECT_EQ(Processed(page), "<HEAD>\n\n</HEAD>");
    settings.styleSheet = "../site.css";
    EXPECT_EQ(Processed(page), "<HEAD>\n<link rel=\"stylesheet\" href=\"../site.css\">\n</HEAD>");
    EXPECT_EQ(Processed("<LINK REL=\"STYLESHEET\" HREF=\"x"), "<link rel=\"stylesheet\" href=\"../site.css\">");
}

TEST_F(HtmlPostProcessingTest, HeadCommandsGoBeforeTheEndOfTheHead)
{
    settings.headCommands = {"<meta name=\"a\">", "<script src=\"b.js\"></script>"};
    EXPECT_EQ(Processed("<HEAD></HEAD><BODY></HEAD>"),
              "<HEAD><meta name=\"a\">\r\n<script src=\"b.js\"></script>\r\n</HEAD><BODY></HEAD>");
    EXPECT_EQ(Processed("<head></head>"), "<head></head>");
}

TEST_F(HtmlPostProcessingTest, EncodingNamesTheCharacterSet)
{
    const std::string page = "charset=iso-8859-1 \xBE\xAE\xB9\xA9\xE8";
    EXPECT_EQ(Processed(page), page);
    settings.encoding = "iso-8859-2";
    EXPECT_EQ(Processed(page), "charset=iso-8859-2 \xBE\xAE\xB9\xA9\xE8");
    settings.encoding = "windows-1250";
    EXPECT_EQ(Processed(page), "charset=windows-1250 \x9E\x8E\x9A\x8A\xE8");
}

// UTF-8 pages keep their bytes and their declaration: the setting's byte swaps would cut their
// sequences apart (0xBE, 0xAE, 0xB9 and 0xA9 are continuation bytes), and a page relabelled as
// windows-1250 would no longer say what it holds.
TEST_F(HtmlPostProcessingTest, PagesKeepTheirBytesAndDeclarationWhenTheEncodingSettingDoesNotFit)
{
    settings.encoding = "windows-1250";
    const std::string pages[] = {
        "<META CONTENT=\"text/html; charset=utf-8\"> žluťoučký kůň, © ®",
        "<meta charset=\"UTF-8\"> plain ASCII, iso-8859-1 mentioned",
        "charset=iso-8859-1 but the bytes are UTF-8: Škoda ©",  // what a converter that passes UTF-8 through writes
    };
    for (const std::string& page : pages)
        EXPECT_EQ(Processed(page), page);
    // A page of ASCII only that declares no UTF-8 is relabelled as before: ASCII means the same in both.
    EXPECT_EQ(Processed("charset=iso-8859-1 plain"), "charset=windows-1250 plain");
    // A page in ISO 8859-2 under its own label (as the Czech conversion writes) is not recoded
    // under a label that would no longer fit.
    EXPECT_EQ(Processed("charset=iso-8859-2 \xAElu\xBBou\xE8k\xFD \xB9"), "charset=iso-8859-2 \xAElu\xBBou\xE8k\xFD \xB9");
}

TEST_F(HtmlPostProcessingTest, Utf8SettingsReachEightBitPagesAsCharacterReferences)
{
    settings.footer = "<p>Žluťoučký kůň</p>";
    settings.headCommands = {"<meta name=\"author\" content=\"Jiří\">"};
    settings.styleSheet = "styly/čeština.css";
    const std::string latin2Page = "<HEAD>\n<LINK REL=\"STYLESHEET\" HREF=\"x.css\">\n</HEAD>\xAElu\xBBou\xE8k\xFD</BODY>";
    EXPECT_EQ(Processed(latin2Page),
              "<HEAD>\n<link rel=\"stylesheet\" href=\"styly/&#269;e&#353;tina.css\">\n"
              "<meta name=\"author\" content=\"Ji&#345;&#237;\">\r\n</HEAD>\xAElu\xBBou\xE8k\xFD"
              "<p>&#381;lu&#357;ou&#269;k&#253; k&#367;&#328;</p></BODY>");
    // In a UTF-8 page they stay as they are; legacy texts stay as they are in an 8-bit page.
    EXPECT_EQ(Processed("<meta charset=utf-8></BODY>"), "<meta charset=utf-8><p>Žluťoučký kůň</p></BODY>");
    settings.footer = "<p>\x8Elu\x9Dou\xE8k\xFD</p>";
    EXPECT_EQ(Processed("\xAE</BODY>"), "\xAE<p>\x8Elu\x9Dou\xE8k\xFD</p></BODY>");
}

TEST_F(HtmlPostProcessingTest, MathRelationsBecomeEntities)
{
    EXPECT_EQ(Processed("a $>$ b $<$ c $$<$"), "a &gt; b &lt; c $&lt;");
}

TEST_F(HtmlPostProcessingTest, AltTextsAreRemoved)
{
    EXPECT_EQ(Processed("<IMG ALT=\"a > b\" SRC=\"x.png\"><IMG alt=\"kept\"><IMG ALT=\"\">"),
              "<IMG  SRC=\"x.png\"><IMG alt=\"kept\"><IMG >");
    EXPECT_EQ(Processed("<IMG ALT=\"unterminated"), "<IMG ALT=\"unterminated");
    EXPECT_EQ(Processed("ALT=\"ALT=\"x\""), "x\"");
}

TEST_F(HtmlPostProcessingTest, MathCommentsGoWithTheirLineBreakAndFollowingSpace)
{
    EXPECT_EQ(Processed("text\r\n<!-- MATH: $x>1$ -->\r\n  next"), "textnext");
    EXPECT_EQ(Processed("text\n\n<!-- MATH: a -->\tb"), "text\nb");
    EXPECT_EQ(Processed("\n<!-- MATH: at one -->x"), "\nx");
    EXPECT_EQ(Processed("<!-- MATH: first --><!-- MATH: second -->\n"), "");
    EXPECT_EQ(Processed("a\n<!-- MATH: never closed"), "a\n<!-- MATH: never closed");
    EXPECT_EQ(Processed("<!-- MATH:x -->"), "<!-- MATH:x -->");
}

TEST_F(HtmlPostProcessingTest, ArgumentMarkerTakesTheRuleAndLosesItsTags)
{
    LoadRules("bold|<b>|</b>\n");
    EXPECT_EQ(Expanded("<P>888888890001.x<i>y</i>.99999999</P>"), "<P><b>xy</b></P>");
    // A tag that reaches past the argument ends the stripping.
    EXPECT_EQ(Expanded("888888890001.<i>a<b.99999999 c>"), "<b>a<b</b> c>");
}

TEST_F(HtmlPostProcessingTest, NestedMarkersExpandFromTheOutsideIn)
{
    LoadRules("outer|[|]\ninner|(|)\n");
    EXPECT_EQ(Expanded("888888890001.a<i>888888890002.b<u>c</u>.99999999</i>d.99999999e"), "[a(bc)d]e");
}

TEST_F(HtmlPostProcessingTest, MarkersWithoutArgumentAndByName)
{
    LoadRules("tm|<sup>TM</sup>\nhint|<div>|</div>\n");
    EXPECT_EQ(Expanded("X888888870001. Y888888870001Z"), "X<sup>TM</sup> Y<sup>TM</sup>Z");
    EXPECT_EQ(Expanded("8888888Xtm. 8888888Xhint_. 8888888Xnone."), "<sup>TM</sup> 8888888Xhint_. 8888888Xnone.");
    EXPECT_EQ(Expanded("a8888888Xhint.b"), "a<div>b");
}

TEST_F(HtmlPostProcessingTest, LongerRunsOfEightUseTheirLastSeven)
{
    LoadRules("tm|TM\n");
    EXPECT_EQ(Expanded("8888888888870001."), "8888TM");
}

TEST_F(HtmlPostProcessingTest, UnknownAndUnclosedMarkersStay)
{
    LoadRules("bold|<b>|</b>\ntm|TM\n");
    EXPECT_EQ(Expanded("888888870009.888888870099999999999999."), "888888870009.888888870099999999999999.");
    EXPECT_EQ(Expanded("888888890001.x<i>y</i> and more"), "<b>x<i>y</i> and more");
    EXPECT_EQ(Expanded("888888890001.888888890001.x.99999999"), "<b><b>x</b>");
}

TEST_F(HtmlPostProcessingTest, UnclosedMarkersDoNotHideLaterClosings)
{
    LoadRules("bold|<b>|</b>\nwrap|888888890001.z.99999999\n");
    EXPECT_EQ(Expanded("888888890001.a 888888890001.b.99999999 888888890001.c"), "<b>a <b>b</b> <b>c");
    // A closing that an expansion writes after an unclosed marker is found by the markers after it.
    EXPECT_EQ(Expanded("888888890001.a 888888870002."), "<b>a <b>z</b>");
}

TEST_F(HtmlPostProcessingTest, MarkersCutOffAtTheEndOfThePageStay)
{
    LoadRules("bold|<b>|</b>\ntm|TM\n");
    for (const char* page : {"8888888", "88888889", "888888890001", "888888890001.", "8888888X", "x.9999999"})
        EXPECT_EQ(Expanded(page), page == std::string("888888890001") || page == std::string("888888890001.")
                                      ? std::string("<b>")
                                      : std::string(page))
            << page;
}

TEST_F(HtmlPostProcessingTest, RuleImagesAreCollectedOnce)
{
    LoadRules("hint|<img src=\"hint.png\">|</p>\nwarn|<img src=\"warning.gif\" alt=\"!\">\nbroken|<img src=\"open\n");
    Expanded("888888890001.a.99999999 888888870002. 888888890001.b.99999999 888888870003.");
    EXPECT_THAT(images, ElementsAre("hint.png", "warning.gif", "open"));
}

TEST_F(HtmlPostProcessingTest, RuleTextsThatProduceMarkersCannotLoopForEver)
{
    LoadRules("self|888888870001.\nagain|<a>888888890002.|.99999999</a>\n");
    const std::string result = Expanded("888888870001. 888888890002.x.99999999");
    EXPECT_THAT(result, ::testing::HasSubstr("8888888"));
}

TEST_F(HtmlPostProcessingTest, ImagesInScriptsAreShifted)
{
    const std::string up = "STYLE=\"position=relative; bottom=4\"";
    const std::string down = "STYLE=\"position=relative; top=4\"";
    EXPECT_EQ(Processed("<IMG SRC=\"o.png\"><SUP><IMG SRC=\"a.png\"> <img src=\"b.png\"></SUP>"
                        "<sub><IMG SRC=\"c.png\"></sub><sup class=x><IMG SRC=\"d.png\"></sup>"),
              "<IMG SRC=\"o.png\"><SUP><IMG " + up + "SRC=\"a.png\"> <img " + up + "src=\"b.png\"></SUP>"
              "<sub><IMG " + down + "SRC=\"c.png\"></sub><sup class=x><IMG SRC=\"d.png\"></sup>");
    EXPECT_EQ(Processed("<sup><IMG SRC=\"a.png\">"), "<sup><IMG SRC=\"a.png\">");
}

TEST_F(HtmlPostProcessingTest, FooterReplacesTheFinalRule)
{
    settings.footer = "<ADDRESS>me</ADDRESS>";
    EXPECT_EQ(Processed("<HR>x\n<hr>\r\n\r\n</body>"), "<hr size=1>x\n<ADDRESS>me</ADDRESS></body>");
    EXPECT_EQ(Processed("text</BODY></BODY>"), "text<ADDRESS>me</ADDRESS></BODY></BODY>");
    settings.footer.clear();
    EXPECT_EQ(Processed("<HR>\r\n\r\n</BODY>"), "</BODY>");
}

TEST_F(HtmlPostProcessingTest, StepsRunInTheirOrder)
{
    LoadRules("box|<TABLE BORDER=\"1\"><TR><TD>$>$|</TD></TR></TABLE><HR>\n");
    settings.footer = "<HR>";
    // Rule texts come after the border, math and ALT steps but before the rules step.
    EXPECT_EQ(Processed("888888890001.x.99999999</BODY>"),
              "<TABLE BORDER=\"1\"><TR><TD>$>$x</TD></TR></TABLE><hr size=1><hr size=1></BODY>");
}

TEST_F(HtmlPostProcessingTest, PageFileIsRewrittenInPlace)
{
    DocumentationJob job;
    job.settings.footer = "<p>footer</p>";
    const std::string page = tree.Write("paper/index.html", "<A HREF=\"paper.html#a\">a</A><HR>\r\n\r\n</BODY>\r\n");
    PostProcessHtmlPage(job, page, images, "paper");
    EXPECT_EQ(tree.Read("paper/index.html"), "<A HREF=\"#a\">a</A><p>footer</p></BODY>\r\n");

    PostProcessHtmlPage(job, tree.Path("paper/absent.html"), images, "paper");
    EXPECT_FALSE(std::filesystem::exists(tree.Path("paper/absent.html")));
}

// Runs in a child process: exits with 0 when the failed write back is reported.
[[noreturn]] void WriteBackBeyondTheFileSizeLimit(const std::string& page)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1024, 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    DocumentationJob job;
    std::vector<std::string> collected;
    try {
        PostProcessHtmlPage(job, page, collected, "paper");
    } catch (const std::runtime_error& error) {
        std::exit(std::string(error.what()).starts_with("failed to write file\n" + page + "\n") ? 0 : 2);
    }
    std::exit(1);
}

TEST_F(HtmlPostProcessingTest, PageThatCannotBeWrittenBackIsAnError)
{
    const std::string page = tree.Write("paper/big.html", std::string(4096, 'x') + "<HR>");
    EXPECT_EXIT(WriteBackBeyondTheFileSizeLimit(page), ::testing::ExitedWithCode(0), "");
}

}  // namespace
