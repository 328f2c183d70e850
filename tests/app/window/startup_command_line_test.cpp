#include "app/window/startup_command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupCommandLineTest, OnePairOfEnclosingQuotesIsDropped)
{
    EXPECT_EQ(UnquotedCommandLine("\"/home/me/My Documents/paper.tex\""), "/home/me/My Documents/paper.tex");
    EXPECT_EQ(UnquotedCommandLine("/a b/page.HTML"), "/a b/page.HTML");
    EXPECT_EQ(UnquotedCommandLine("\"\""), "");
    EXPECT_EQ(UnquotedCommandLine("\"\"x\"\""), "\"x\"");
    // A single quote is shorter than two characters and stays; an unbalanced one stays too.
    EXPECT_EQ(UnquotedCommandLine("\""), "\"");
    EXPECT_EQ(UnquotedCommandLine("\"a.tex"), "\"a.tex");
    EXPECT_EQ(UnquotedCommandLine(" \"a.tex\""), " \"a.tex\"");
}

TEST(StartupCommandLineTest, RemotePrefixesAreCaseSensitive)
{
    EXPECT_TRUE(IsRemoteAddress("http://host/page.tex"));
    EXPECT_TRUE(IsRemoteAddress("ftp://host/x"));
    EXPECT_FALSE(IsRemoteAddress("HTTP://host/page.tex"));
    EXPECT_FALSE(IsRemoteAddress("https://host/page"));
    EXPECT_FALSE(IsRemoteAddress(" http://host"));
}

TEST(StartupCommandLineTest, ExtensionsBeginningWithHtmSelectTheHtmlEditor)
{
    for (const char* name : {"page.htm", "page.html", "/a b/page.HTML", "x.HtMx", "http://host/a.tex", "ftp://h/"})
        EXPECT_EQ(ChooseDocumentKind(name), DocumentKind::Html) << name;
    for (const char* name : {"paper.tex", "", "HTTP://host/a.tex", "page.ht", "page.xhtml", "html", "dir.html/paper.tex",
                             "page.html.tex"})
        EXPECT_EQ(ChooseDocumentKind(name), DocumentKind::Latex) << name;
    // The last dot counts even when it belongs to a directory name.
    EXPECT_EQ(ChooseDocumentKind("/web.html/index"), DocumentKind::Html);
}

} // namespace
