#include "latex_log.h"
#include "latexmk_run.h"
#include "scratch_directory.h"
#include "uploaded_figures.h"

#include <gtest/gtest.h>

#include <fstream>

namespace torvel {
namespace {

TEST(LatexLog, FindsErrorLines)
{
    EXPECT_TRUE(LogShowsErrors("(./x.tex\n! Undefined control sequence.\nl.3 \\foo\n"));
    EXPECT_TRUE(LogShowsErrors("! Emergency stop.\n"));
    EXPECT_FALSE(LogShowsErrors("Overfull \\hbox (badness 10000)! in paragraph\nOutput written\n"));
}

TEST(LatexLog, SaysInOneLineWhatLatexmkFoundWrong)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Latexmk: Found bibliography file(s):\n  absent.bib\nBib file(s) not found in search path:\n  absent.bib\n"
         "  other.bib\nLatexmk: applying rule 'bibtex m'...\nCollected error summary (may duplicate other messages):\n"
         "  bibtex m: Bibtex errors: See file 'm.blg'\n",
         "bibliography file absent.bib not found; bibliography file other.bib not found; "
         "bibtex m: Bibtex errors: See file 'm.blg'"},
        {"Collected error summary (may duplicate other messages):\n  makeindex m.idx: Command for 'makeindex m.idx' "
         "gave return code 1\nLatexmk: done\n",
         "makeindex m.idx: Command for 'makeindex m.idx' gave return code 1"},
        {"Latexmk: All targets are up-to-date\n", ""},
    };
    for (const auto& [output, problems] : cases)
        EXPECT_EQ(LatexmkProblems(output), problems);
}

TEST(UploadedFigures, SortsFiguresByWhatCanShowThem)
{
    torvel_test::ScratchDirectory work;
    for (const char* name : {"b.png", "a.PDF", "plot.eps", "photo.jpeg", "c.JPG", "old.ps", "paper.tex", "refs.bib",
                             "noextension"})
        std::ofstream(work.Path() / name) << "x";
    std::filesystem::create_directory(work.Path() / "dir.png");
    std::filesystem::create_symlink("b.png", work.Path() / "link.png");
    const UploadedFigures figures = FindUploadedFigures(work.Path());
    EXPECT_EQ(figures.encapsulated, (std::vector<std::string>{"old.ps", "plot.eps"}));
    EXPECT_EQ(figures.bitmapOrPdf, (std::vector<std::string>{"a.PDF", "b.png", "c.JPG", "photo.jpeg"}));
}

TEST(UploadedFigures, NamesConvertedFiguresAsTheGraphicsPackagesLookForThem)
{
    EXPECT_EQ(ConvertedFigureName("plot.eps"), "plot-eps-converted-to.pdf");
    EXPECT_EQ(ConvertedFigureName("fig.1.ps"), "fig.1-ps-converted-to.pdf");
}

TEST(UploadedFigures, ListsNamesAsASentence)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, ""}, {{"a.png"}, "a.png"}, {{"a.png", "b.pdf"}, "a.png and b.pdf"}, {{"a", "b", "c"}, "a, b and c"}};
    for (const auto& [names, list] : cases)
        EXPECT_EQ(NameList(names), list);
}

TEST(Latexmk, ReadsOnlyTheServersConfiguration)
{
    const auto command = LatexmkCommand(TexEngine::Pdflatex, "/tmp/rc", "paper.tex");
    EXPECT_EQ(command, (std::vector<std::string>{"latexmk", "-norc", "-r", "/tmp/rc", "-pdf", "paper.tex"}));
    EXPECT_EQ(LatexmkCommand(TexEngine::Latex, "/tmp/rc", "paper.tex")[4], "-dvi");
}

// The engines' command lines, whatever the figures.
std::vector<std::string> EngineLines(const std::string& configuration)
{
    std::vector<std::string> lines;
    for (const char* engine : {"$latex = 'latex ", "$pdflatex = 'pdflatex "}) {
        const auto line = configuration.find(engine);
        if (line != std::string::npos)
            lines.push_back(configuration.substr(line, configuration.find('\n', line) - line));
    }
    return lines;
}

TEST(Latexmk, ConfigurationKeepsShellEscapeOffAndNeverStopsForInput)
{
    for (const auto figures : {EncapsulatedFigures::Absent, EncapsulatedFigures::ConvertedBeforehand}) {
        const auto lines = EngineLines(LatexmkConfiguration(figures));
        ASSERT_EQ(lines.size(), 2u);
        for (const std::string& line : lines) {
            EXPECT_NE(line.find("-no-shell-escape"), std::string::npos) << line;
            EXPECT_NE(line.find("-interaction=nonstopmode"), std::string::npos) << line;
        }
    }
    EXPECT_EQ(LatexmkConfiguration(EncapsulatedFigures::Absent).find("pre_tex_code"), std::string::npos);
    EXPECT_NE(LatexmkConfiguration(EncapsulatedFigures::ConvertedBeforehand).find("%P'"), std::string::npos);
}

}  // namespace
}  // namespace torvel
