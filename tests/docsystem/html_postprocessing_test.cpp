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

struct PageCase {
    const char* behaviour;
    std::string page;
    std::string expected;
    std::string pagePath = "/out/paper/node1.html";
};

TEST_F(HtmlPostProcessingTest, PlainPagesGetTheirFixedRewrites)
{
    const std::string links = "<A HREF=\"paper.html#s1\">1</A> <A HREF=\"Paper.html#s2\">2</A>";
    const std::string border = "<TABLE CELLSPACING=0 BORDERCOLOR=BLACK BORDERCOLORDARK=WHITE BORDER=\"1\">";
    const std::string up = "STYLE=\"position=relative; bottom=4\"";
    const std::string down = "STYLE=\"position=relative; top=4\"";
    const PageCase cases[] = {
        {"index page links into the document become local", links,
         "<A HREF=\"#s1\">1</A> <A HREF=\"Paper.html#s2\">2</A>", "/out/paper/Index.html"},
        {"other pages keep their links", links, links, "/out/paper/chap1.html"},
        {"breaks leave only the main heading", "a<br><H1>Title<BR>of<br>paper</h1>after<BR>", "a<br><H1>Titleofpaper</h1>after<BR>"},
        {"an unclosed heading keeps its break", "<h1>open<br>", "<h1>open<br>"},
        {"anchors lose trailing spaces", "<A NAME=\"x\">&#160;</a>", "<A NAME=\"x\"></A>"},
        {"tables with an upper-case border gain colours", "<TABLE BORDER=\"1\"><TABLE border=\"1\"><TABLE BORDER=\"1\">",
         border + "<TABLE border=\"1\">" + border},
        {"math relations become entities", "a $>$ b $<$ c $$<$", "a &gt; b &lt; c $&lt;"},
        {"upper-case ALT texts are removed", "<IMG ALT=\"a > b\" SRC=\"x.png\"><IMG alt=\"kept\"><IMG ALT=\"\">",
         "<IMG  SRC=\"x.png\"><IMG alt=\"kept\"><IMG >"},
        {"unterminated ALT text stays", "<IMG ALT=\"unterminated", "<IMG ALT=\"unterminated"},
        {"ALT text ends at the first quote", "ALT=\"ALT=\"x\"", "x\""},
        {"math comment goes with its CR LF and following blanks", "text\r\n<!-- MATH: $x>1$ -->\r\n  next", "textnext"},
        {"math comment goes with one LF and a tab", "text\n\n<!-- MATH: a -->\tb", "text\nb"},
        {"math comment at the first line break", "\n<!-- MATH: at one -->x", "\nx"},
        {"adjacent math comments", "<!-- MATH: first --><!-- MATH: second -->\n", ""},
        {"unclosed math comment stays", "a\n<!-- MATH: never closed", "a\n<!-- MATH: never closed"},
        {"math comment needs its blank", "<!-- MATH:x -->", "<!-- MATH:x -->"},
        {"images in scripts are shifted, not in classed ones",
         "<IMG SRC=\"o.png\"><SUP><IMG SRC=\"a.png\"> <img src=\"b.png\"></SUP>"
         "<sub><IMG SRC=\"c.png\"></sub><sup class=x><IMG SRC=\"d.png\"></sup>",
         "<IMG SRC=\"o.png\"><SUP><IMG " + up + "SRC=\"a.png\"> <img " + up + "src=\"b.png\"></SUP>"
         "<sub><IMG " + down + "SRC=\"c.png\"></sub><sup class=x><IMG SRC=\"d.png\"></sup>"},
        {"an unclosed script shifts nothing", "<sup><IMG SRC=\"a.png\">", "<sup><IMG SRC=\"a.png\">"},
    };
    for (const PageCase& testCase : cases) {
        SCOPED_TRACE(testCase.behaviour);
        EXPECT_EQ(Processed(testCase.page, testCase.pagePath), testCase.expected);
    }
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

struct MarkerCase {
    const char* behaviour;
    std::string rules;
    std::string page;
    std::string expected;
};

TEST_F(HtmlPostProcessingTest, MarkersExpandToTheirRulesAndBrokenOrCutOffOnesStay)
{
    const std::string bold = "bold|<b>|</b>\n";
    const std::string boldAndMark = "bold|<b>|</b>\ntm|TM\n";
    const std::string markAndHint = "tm|<sup>TM</sup>\nhint|<div>|</div>\n";
    const std::string boldAndWrap = "bold|<b>|</b>\nwrap|888888890001.z.99999999\n";
    const MarkerCase cases[] = {
        {"argument marker takes the rule and loses its tags", bold, "<P>888888890001.x<i>y</i>.99999999</P>", "<P><b>xy</b></P>"},
        {"a tag reaching past the argument ends the stripping", bold, "888888890001.<i>a<b.99999999 c>", "<b>a<b</b> c>"},
        {"nested markers expand from the outside in", "outer|[|]\ninner|(|)\n",
         "888888890001.a<i>888888890002.b<u>c</u>.99999999</i>d.99999999e", "[a(bc)d]e"},
        {"markers without argument", markAndHint, "X888888870001. Y888888870001Z", "X<sup>TM</sup> Y<sup>TM</sup>Z"},
        {"markers by name; unknown names stay", markAndHint, "8888888Xtm. 8888888Xhint_. 8888888Xnone.",
         "<sup>TM</sup> 8888888Xhint_. 8888888Xnone."},
        {"a named argument rule gives its opening", markAndHint, "a8888888Xhint.b", "a<div>b"},
        {"longer runs of eight use their last seven", "tm|TM\n", "8888888888870001.", "8888TM"},
        {"unknown markers stay", boldAndMark, "888888870009.888888870099999999999999.", "888888870009.888888870099999999999999."},
        {"an unclosed marker only opens", boldAndMark, "888888890001.x<i>y</i> and more", "<b>x<i>y</i> and more"},
        {"the inner marker takes the closing", boldAndMark, "888888890001.888888890001.x.99999999", "<b><b>x</b>"},
        {"unclosed markers do not hide later closings", boldAndWrap, "888888890001.a 888888890001.b.99999999 888888890001.c",
         "<b>a <b>b</b> <b>c"},
        {"a closing written by an expansion is found by the markers after it", boldAndWrap, "888888890001.a 888888870002.",
         "<b>a <b>z</b>"},
        {"cut off after the eights", boldAndMark, "8888888", "8888888"},
        {"cut off after the kind", boldAndMark, "88888889", "88888889"},
        {"cut off after the number", boldAndMark, "888888890001", "<b>"},
        {"cut off after the dot", boldAndMark, "888888890001.", "<b>"},
        {"cut off after the name mark", boldAndMark, "8888888X", "8888888X"},
        {"a closing cut off", boldAndMark, "x.9999999", "x.9999999"},
    };
    for (const MarkerCase& testCase : cases) {
        SCOPED_TRACE(testCase.behaviour);
        PostProcessTable caseRules;
        std::int32_t caseNextId = 1;
        ASSERT_TRUE(caseRules.Load(tree.Write("postprocess.txt", testCase.rules), caseNextId));
        utils::TextBuffer buffer(testCase.page);
        ExpandRuleMarkers(buffer, caseRules, images);
        EXPECT_EQ(buffer.Text(), testCase.expected);
    }
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
