#include "docsystem/source_collection.h"
#include "docsystem_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

namespace {

using docsystem::testing::FixtureTree;
using docsystem::testing::ParameterCallback;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class SourceCollectionTest : public ::testing::Test {
protected:
    std::string Collect(const std::string& mainFile)
    {
        return CollectSources(tree.Root(), tree.Path(mainFile), mode, &extraFiles, sources, callback);
    }

    std::vector<std::string> UploadNames() const
    {
        std::vector<std::string> names;
        for (const auto& [name, source] : sources)
            names.push_back(name);
        return names;
    }

    FixtureTree tree;
    FixtureTree program;
    ParameterCallback callback{program.Root()};
    std::vector<std::string> extraFiles;
    SourceSet sources;
    OutputMode mode = OutputMode::Pdf;
};

TEST_F(SourceCollectionTest, NestedInputsGetFlatNamesAndRewrittenReferences)
{
    tree.Write("paper.tex", "\\documentclass{article}\r\n\\input{chap\\intro}\r\n\\input{chap/body}\r\n");
    tree.Write("chap/intro.tex", "Intro \\input{chap/deep/detail} end");
    tree.Write("chap/deep/detail.tex", "Detail");
    tree.Write("chap/body.tex", "Body");

    EXPECT_EQ(Collect("paper.tex"), "paper.tex");
    EXPECT_THAT(UploadNames(), ElementsAre("body.tex", "detail.tex", "intro.tex", "paper.tex"));
    EXPECT_EQ(sources.at("paper.tex").text, "\\documentclass{article}\n\\input{intro}\n\\input{body}\n");
    EXPECT_EQ(sources.at("intro.tex").text, "Intro \\input{detail} end");
    EXPECT_EQ(sources.at("intro.tex").path, tree.Path("chap/intro.tex"));
    EXPECT_EQ(sources.at("detail.tex").path, tree.Path("chap/deep/detail.tex"));
}

TEST_F(SourceCollectionTest, ClashingNamesAreNumbered)
{
    tree.Write("paper.tex", "\\input{intro}\\input{chap/intro}\\input{other/intro}\\input{intro}");
    tree.Write("intro.tex", "top");
    tree.Write("chap/intro.tex", "chapter");
    tree.Write("other/intro.tex", "other");

    Collect("paper.tex");
    EXPECT_EQ(sources.at("paper.tex").text, "\\input{intro}\\input{intro1}\\input{intro2}\\input{intro3}");
    EXPECT_EQ(sources.at("intro1.tex").text, "chapter");
    EXPECT_EQ(sources.at("intro2.tex").text, "other");
    EXPECT_EQ(sources.at("intro3.tex").text, "top");  // a file included twice is uploaded twice
}

TEST_F(SourceCollectionTest, MainFileKeepsItsNameAgainstAnIncludedNamesake)
{
    tree.Write("paper.tex", "\\input{sub/paper}");
    tree.Write("sub/paper.tex", "inner");
    Collect("paper.tex");
    EXPECT_EQ(sources.at("paper.tex").text, "\\input{paper1}");
    EXPECT_EQ(sources.at("paper1.tex").text, "inner");
}

TEST_F(SourceCollectionTest, ReferencesThatFindNoFileStayAsTheyAre)
{
    tree.Write("paper.tex", "\\input{intro.tex} \\input{missing} \\input{unterminated");
    tree.Write("intro.tex", "never read");
    Collect("paper.tex");
    EXPECT_THAT(UploadNames(), ElementsAre("paper.tex"));
    EXPECT_EQ(sources.at("paper.tex").text, "\\input{intro.tex} \\input{missing} \\input{unterminated");
}

TEST_F(SourceCollectionTest, CommentedReferencesAreNotFollowed)
{
    tree.Write("paper.tex", "% \\input{a}\nx % y \\input{a}\n\\% \\input{b}\n\\input{c}");
    tree.Write("a.tex", "a");
    tree.Write("b.tex", "b");
    tree.Write("c.tex", "c");
    Collect("paper.tex");
    EXPECT_THAT(UploadNames(), ElementsAre("b.tex", "c.tex", "paper.tex"));
}

TEST_F(SourceCollectionTest, CommandFileComesFromTheTemplateDirectory)
{
    program.Write("template/ccmds.tex", "\\newcommand{\\e}[1]{\\emph{#1}}");
    tree.Write("paper.tex", "\\input{ccmds}");
    Collect("paper.tex");
    EXPECT_EQ(sources.at("ccmds.tex").path, program.Path("template/ccmds.tex"));
    EXPECT_EQ(sources.at("paper.tex").text, "\\input{ccmds}");
}

TEST_F(SourceCollectionTest, EpsGraphicsJoinTheExtraFilesOnce)
{
    tree.Write("figs/Plot.eps", "%!PS");
    tree.Write("chap.tex", "\\includegraphics{figs\\Plot.eps}");
    tree.Write("paper.tex", "\\includegraphics[width=5cm]{figs/Plot.eps}\n\\input{chap}\n"
                            "\\includegraphics{figs/plot.eps} % \\includegraphics{figs/Plot.eps}\n"
                            "\\includegraphics{missing.eps}");
    extraFiles = {"/given/first.bib"};
    Collect("paper.tex");

    EXPECT_THAT(extraFiles, ElementsAre("/given/first.bib", tree.Path("figs/Plot.eps")));
    EXPECT_EQ(sources.at("paper.tex").text,
              "\\includegraphics[width=5cm]{plot.eps}\n\\input{chap}\n"
              "\\includegraphics{figs/plot.eps} % \\includegraphics{figs/Plot.eps}\n"
              "\\includegraphics{missing.eps}");
    EXPECT_EQ(sources.at("chap.tex").text, "\\includegraphics{plot.eps}");
}

TEST_F(SourceCollectionTest, GraphicsAreLeftAloneWithoutAnExtraFileList)
{
    tree.Write("a.eps", "%!PS");
    tree.Write("paper.tex", "\\includegraphics{a.eps}");
    CollectSources(tree.Root(), tree.Path("paper.tex"), OutputMode::Pdf, nullptr, sources, callback);
    EXPECT_EQ(sources.at("paper.tex").text, "\\includegraphics{a.eps}");
}

TEST_F(SourceCollectionTest, GraphicNamesWithoutABraceStartAtTheSecondCharacter)
{
    tree.Write("ab.eps", "%!PS");
    tree.Write("paper.tex", "xab.eps .eps");
    Collect("paper.tex");
    EXPECT_THAT(extraFiles, ElementsAre(tree.Path("ab.eps")));
    EXPECT_EQ(sources.at("paper.tex").text, "xab.eps .eps");
}

TEST_F(SourceCollectionTest, CyclesUnreadableMainFilesAndClashingFiguresAreErrors)
{
    struct FailureCase {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;
        std::string mainFile;
        ::testing::Matcher<std::string> message;
    };
    const FailureCase cases[] = {
        {"an inclusion cycle names its files",
         {{"paper.tex", "\\input{a}"}, {"a.tex", "\\input{b}"}, {"b.tex", "\\input{./a}"}},
         "paper.tex",
         ::testing::Eq("The \\input files include each other in a cycle:\n" + tree.Path("a.tex") + " includes\n" +
                       tree.Path("b.tex") + " includes\n" + tree.Path("./a.tex"))},
        {"a file including itself is a cycle", {{"paper.tex", "\\input{paper}"}}, "paper.tex",
         HasSubstr("The \\input files include each other in a cycle:\n")},
        {"an unreadable main file", {}, "absent.tex", ::testing::Eq("failed to open " + tree.Path("absent.tex"))},
        {"two figures of one name",
         {{"a/plot.png", "1"}, {"b/Plot.png", "2"}, {"paper.tex", "\\includegraphics{a/plot}\\includegraphics{b/Plot}"}},
         "paper.tex", HasSubstr("Two files would be uploaded as \"plot.png\"")},
    };
    for (const FailureCase& testCase : cases) {
        SCOPED_TRACE(testCase.what);
        for (const auto& [file, text] : testCase.files)
            tree.Write(file, text);
        sources.clear();
        try {
            Collect(testCase.mainFile);
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& error) {
            EXPECT_THAT(std::string(error.what()), testCase.message);
        }
    }
}

}  // namespace

// Files named by commands of the document: which are uploaded, and what the references become.
struct ReferenceCase {
    const char* what;
    OutputMode mode;
    std::vector<std::string> files;  // beside the document, relative to its directory
    std::string document;
    std::string preparedDocument;
    std::vector<std::string> uploaded;  // relative to the document's directory
};

// Files of the cases that name others; the rest hold a word.
std::string FileContent(const std::string& file)
{
    const std::map<std::string, std::string> contents = {
        {"chap.tex", "\\includegraphics{diagram}"},
        {"thesis.cls", "\\LoadClass{article}\\RequirePackage{extra}"},
        {"extra.sty", "\\RequirePackage{inner}\\includegraphics{seal}"},
        {"sender.lco", "\\setkomavar{fromlogo}{\\includegraphics{logo}}"},
    };
    const auto content = contents.find(file);
    return content == contents.end() ? "content" : content->second;
}

TEST_F(SourceCollectionTest, FilesNamedByCommandsAreUploadedUnderFlatNames)
{
    const std::vector<ReferenceCase> cases = {
        {"class and packages beside the document", OutputMode::Pdf, {"MyThesis.cls", "mystyle.sty", "other.sty"},
         "\\documentclass[a4paper]{MyThesis}\n\\usepackage[x]{amsmath, mystyle}\\RequirePackage{other}\n",
         "\\documentclass[a4paper]{mythesis}\n\\usepackage[x]{amsmath, mystyle}\\RequirePackage{other}\n",
         {"MyThesis.cls", "mystyle.sty", "other.sty"}},
        {"letter options, loaded or given to the class", OutputMode::Pdf, {"lco/Firm.lco", "Me.lco"},
         "\\documentclass[version=last,Me]{scrlttr2}\\LoadLetterOption{lco/Firm}",
         "\\documentclass[version=last,me]{scrlttr2}\\LoadLetterOption{firm}", {"lco/Firm.lco", "Me.lco"}},
        {"what a class, a package and a letter option name in turn", OutputMode::Pdf,
         {"thesis.cls", "extra.sty", "inner.sty", "sender.lco", "logo.pdf", "seal.png"},
         "\\documentclass{thesis}\\LoadLetterOption{sender}", "\\documentclass{thesis}\\LoadLetterOption{sender}",
         {"thesis.cls", "sender.lco", "extra.sty", "logo.pdf", "seal.png", "inner.sty"}},
        {"bibliographies and their style; a missing one stays named", OutputMode::Pdf,
         {"refs.bib", "lit/More.bib", "plain2.bst"},
         "\\bibliographystyle{plain2}\\bibliography{refs,missing , lit/More}\\addbibresource[label=x]{lit/More.bib}",
         "\\bibliographystyle{plain2}\\bibliography{refs,missing , more}\\addbibresource[label=x]{more.bib}",
         {"lit/More.bib", "refs.bib", "plain2.bst"}},
        {"figures named without an extension, for PDF", OutputMode::Pdf, {"img/photo.eps", "img/photo.jpg", "img/x.PNG"},
         "\\includegraphics[width=3cm]{img/photo}\\includegraphics*[1,2][3,4]{img/x}",
         "\\includegraphics[width=3cm]{photo}\\includegraphics*[1,2][3,4]{x}", {"img/photo.jpg", "img/x.PNG"}},
        {"the same figures for PostScript", OutputMode::PostScript, {"img/photo.eps", "img/photo.jpg"},
         "\\includegraphics{img/photo}", "\\includegraphics{photo}", {"img/photo.eps"}},
        {"figures through \\graphicspath, also in \\input files", OutputMode::Pdf,
         {"figs/Chart.PNG", "more/diagram.pdf", "chap.tex"},
         "\\graphicspath{{figs/}{more/}}\n\\includegraphics{Chart.PNG}\\input{chap}",
         "\\graphicspath{{figs/}{more/}}\n\\includegraphics{chart.png}\\input{chap}",
         {"figs/Chart.PNG", "more/diagram.pdf"}},
        {"comments, other commands and missing figures", OutputMode::Pdf, {"mystyle.sty", "a.png"},
         "% \\usepackage{mystyle}\n\\usepackagex{mystyle}\\includegraphics{b}\\includegraphics{a.jpg}",
         "% \\usepackage{mystyle}\n\\usepackagex{mystyle}\\includegraphics{b}\\includegraphics{a.jpg}", {}},
        {"index styles beside the document", OutputMode::Pdf, {"book.ist", "sub/other.ist"}, "\\makeindex",
         "\\makeindex", {"book.ist"}},
    };
    for (const ReferenceCase& test : cases) {
        FixtureTree documentTree;
        for (const std::string& file : test.files)
            documentTree.Write(file, FileContent(file));
        documentTree.Write("paper.tex", test.document);
        std::vector<std::string> collected;
        SourceSet collectedSources;
        CollectSources(documentTree.Root(), documentTree.Path("paper.tex"), test.mode, &collected, collectedSources,
                       callback);
        EXPECT_EQ(collectedSources.at("paper.tex").text, test.preparedDocument) << test.what;
        std::vector<std::string> expected;
        for (const std::string& file : test.uploaded)
            expected.push_back(documentTree.Path(file));
        EXPECT_EQ(collected, expected) << test.what;
    }
}

