#include "docsystem/source_collection.h"
#include "docsystem_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
        return CollectSources(tree.Root(), tree.Path(mainFile), &extraFiles, sources, callback);
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
    CollectSources(tree.Root(), tree.Path("paper.tex"), nullptr, sources, callback);
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

TEST_F(SourceCollectionTest, InclusionCycleIsReportedWithItsFiles)
{
    tree.Write("paper.tex", "\\input{a}");
    tree.Write("a.tex", "\\input{b}");
    tree.Write("b.tex", "\\input{./a}");
    try {
        Collect("paper.tex");
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "The \\input files include each other in a cycle:\n" + tree.Path("a.tex") +
                                                 " includes\n" + tree.Path("b.tex") + " includes\n" +
                                                 tree.Path("./a.tex"));
    }
}

TEST_F(SourceCollectionTest, FileIncludingItselfIsACycle)
{
    tree.Write("paper.tex", "\\input{paper}");
    EXPECT_THROW(Collect("paper.tex"), std::runtime_error);
}

TEST_F(SourceCollectionTest, UnreadableMainFileIsAnError)
{
    try {
        Collect("absent.tex");
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "failed to open " + tree.Path("absent.tex"));
    }
}

}  // namespace
