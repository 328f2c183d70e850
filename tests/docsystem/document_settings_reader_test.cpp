#include "docsystem/conditional_sections.h"
#include "docsystem/document_settings_reader.h"
#include "docsystem_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using docsystem::testing::FixtureTree;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

class DocumentSettingsReaderTest : public ::testing::Test {
protected:
    DocumentSettingsReaderTest() { job.documentPath = tree.Path("paper.tex"); }

    FixtureTree tree;
    DocumentationJob job;
};

TEST_F(DocumentSettingsReaderTest, SingleValuesRunToTheLineEndUntrimmed)
{
    ReadDocumentSettings("\\documentclass{article}\n%processor latex2ps\n%footer  <p>by me</p>  \r\n"
                         "%%htmldir out/html\n%stylesheet a.css\r%encoding windows-1250",
                         job);
    EXPECT_EQ(job.settings.processor, "latex2ps");
    EXPECT_EQ(job.settings.footer, " <p>by me</p>  ");
    EXPECT_EQ(job.settings.htmlDirectory, "out/html");  // found inside a "%%" comment too
    EXPECT_EQ(job.settings.styleSheet, "a.css");
    EXPECT_EQ(job.settings.encoding, "windows-1250");
    EXPECT_EQ(job.settings.commandLine, "");
    EXPECT_EQ(job.settings.language, "");
}

TEST_F(DocumentSettingsReaderTest, FirstOccurrenceOfATextCountsAndLaterTextsOverwrite)
{
    ReadDocumentSettings("%language czech\n%language english\n%cmdline -split 3\n", job);
    EXPECT_EQ(job.settings.language, "czech");
    EXPECT_EQ(job.settings.commandLine, "-split 3");

    ReadDocumentSettings("%language Czech\n", job);
    EXPECT_EQ(job.settings.language, "Czech");
    EXPECT_EQ(job.settings.commandLine, "-split 3");  // a text without the key keeps the value

    ReadDocumentSettings("%cmdline \n", job);
    EXPECT_EQ(job.settings.commandLine, "");  // the key and its blank alone empty the value

    job.settings.commandLine = "-split 0";
    ReadDocumentSettings("%cmdline\n", job);
    EXPECT_EQ(job.settings.commandLine, "-split 0");  // without the blank it is no setting
}

TEST_F(DocumentSettingsReaderTest, ListsAccumulateOverSeveralFiles)
{
    job.extraFiles = {"/elsewhere/logo.png"};
    ReadDocumentSettings("%putfile data.bin\n%headcmd <meta name=\"a\">\n%putfile figs\\plot.gif\n", job);
    ReadDocumentSettings("%headcmd <meta name=\"b\">\n%putfile more.txt", job);
    EXPECT_THAT(job.extraFiles, ElementsAre("/elsewhere/logo.png", tree.Path("data.bin"), tree.Path("figs/plot.gif"),
                                            tree.Path("more.txt")));
    EXPECT_THAT(job.settings.headCommands, ElementsAre("<meta name=\"a\">", "<meta name=\"b\">"));
}

TEST_F(DocumentSettingsReaderTest, WildcardEntriesBecomeTheirMatchesAtTheEnd)
{
    tree.Write("figs/a.png", "a");
    tree.Write("figs/b.png", "b");
    tree.Write("figs/c.png", "c");
    tree.Write("figs/notes.txt", "n");
    job.extraFiles = {tree.Path("first.eps")};
    ReadDocumentSettings("%putfile figs/*.png\n%putfile plain.sty\n%putfile nothing/*.png\n", job);

    ASSERT_EQ(job.extraFiles.size(), 5u);
    EXPECT_EQ(job.extraFiles[0], tree.Path("first.eps"));
    EXPECT_EQ(job.extraFiles[1], tree.Path("plain.sty"));
    EXPECT_THAT(std::vector(job.extraFiles.begin() + 2, job.extraFiles.end()),
                UnorderedElementsAre(tree.Path("figs/a.png"), tree.Path("figs/b.png"), tree.Path("figs/c.png")));
}

TEST_F(DocumentSettingsReaderTest, WildcardMatchesIncludeDirectories)
{
    tree.Write("parts/one/x.tex", "x");
    tree.Write("parts/two.tex", "t");
    ReadDocumentSettings("%putfile parts/*\n", job);
    EXPECT_THAT(job.extraFiles, UnorderedElementsAre(tree.Path("parts/one"), tree.Path("parts/two.tex")));
}

TEST_F(DocumentSettingsReaderTest, TranslationTableIsReadRelativeToTheDocument)
{
    tree.Write("tables/cz.txt", "ae \\\"{a}\nkey with  blanks \r\nnoblank\nae \\ae{}\n\n");
    ReadDocumentSettings("%translationTable tables\\cz.txt\n", job);
    EXPECT_THAT(job.settings.translationTable,
                ElementsAre(std::pair<const std::string, std::string>("ae", "\\ae{}"),
                            std::pair<const std::string, std::string>("key", "with  blanks ")));
}

TEST_F(DocumentSettingsReaderTest, Utf8TranslationTablesAndValuesKeepTheirCharacters)
{
    // Written by an editor that starts UTF-8 files with a byte order mark; only the first line has it.
    tree.Write("tables/utf8.txt", "\xEF\xBB\xBF" "č \\v{c}\r\n„ ,,\r\n\xEF\xBB\xBF" "x y\n");
    ReadDocumentSettings("%translationTable tables/utf8.txt\n%footer <p>Žluťoučký kůň</p>\r\n", job);
    EXPECT_THAT(job.settings.translationTable,
                ElementsAre(std::pair<const std::string, std::string>("č", "\\v{c}"),
                            std::pair<const std::string, std::string>("„", ",,"),
                            std::pair<const std::string, std::string>("\xEF\xBB\xBF" "x", "y")));
    EXPECT_EQ(job.settings.footer, "<p>Žluťoučký kůň</p>");
}

TEST_F(DocumentSettingsReaderTest, TranslationTablesAccumulateAndAbsolutePathsStay)
{
    const std::string absolute = tree.Write("shared/t.txt", "x y\n");
    tree.Write("local.txt", "x z\nq r\n");
    ReadDocumentSettings("%translationTable " + absolute + "\n", job);
    ReadDocumentSettings("%translationTable local.txt\n", job);
    EXPECT_EQ(job.settings.translationTable.at("x"), "z");
    EXPECT_EQ(job.settings.translationTable.at("q"), "r");

    // A text without the key loads nothing, although an earlier text named a table.
    tree.Write("local.txt", "s t\n");
    ReadDocumentSettings("no settings here", job);
    EXPECT_FALSE(job.settings.translationTable.contains("s"));
}

TEST_F(DocumentSettingsReaderTest, MissingTranslationTableIsAnError)
{
    try {
        ReadDocumentSettings("%translationTable missing.txt\n", job);
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_THAT(error.what(), HasSubstr("failed to open file\n" + tree.Path("missing.txt") + "\n"));
    }
}

TEST_F(DocumentSettingsReaderTest, SettingsInARemovedSectionAreNotSeen)
{
    std::string text = "\\documentclass{article}\n%begin{html}\n%processor pdflatex2ps\n%end\n%footer kept\n";
    SourceLineMap lines(text);
    ApplyConditionalSections(text, lines, OutputMode::PostScript);
    ReadDocumentSettings(text, job);
    EXPECT_EQ(job.settings.processor, "");
    EXPECT_EQ(job.settings.footer, "kept");
}

}  // namespace
