#include "docsystem/fake_processing_server.h"
#include "docsystem/job_test_support.h"
#include "docsystem/transfer_progress.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace docsystem::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

namespace {

const std::string mainText = "\\documentclass{article}\n\\begin{document}\n\\input{chap1}\nHello\n\\end{document}\n";
const std::string chapterText = "Chapter one\n";

// A document paper.tex with one chapter, and the template files html.sty and postprocess.txt.
class ServerDialogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        workspace.Write("data/template/html.sty", "% html style\n");
        workspace.Write("data/template/postprocess.txt", testRules);
        workspace.Write("doc/chap1.tex", chapterText);
    }

    std::string Put(const std::string& name, std::size_t size, const std::string& form) const
    {
        return "put " + name + ":" + std::to_string(size) + ":" + form + "\n";
    }

    std::string TemplatePuts() const { return Put("html.sty", 13, "dos") + Put("postprocess.txt", testRules.size(), "dos"); }

    CallbackRecord RunJob(FakeProcessingServer& server, OutputMode mode, const std::string& document,
                          const std::vector<std::string>* extraFiles = nullptr)
    {
        return workspace.Run(JobLocation::Remote, mode, workspace.DocumentFile(document),
                             workspace.Parameters(server.Address()), extraFiles);
    }

    JobWorkspace workspace;
    ReportedErrors errors;
};

}  // namespace

TEST_F(ServerDialogueTest, PostScriptJobSendsItsScriptThenTheSourcesAndTemplates)
{
    const std::string text = mainText;
    workspace.Write("doc/paper.tex", text);
    FakeServerScript script;
    script.firstPhase = "queued behind 2 jobs\nnote: fine\ncommit\n";
    script.secondPhaseLines = "progress 50%\n";
    script.results = {Result("paper.log", "This is TeX\n"), Result("paper.ps", "%!PS-Adobe\n")};
    FakeProcessingServer server(script);

    const CallbackRecord record = RunJob(server, OutputMode::PostScript, "paper.tex");
    const FakeServerRecord& sent = server.Record();

    EXPECT_EQ(sent.script, "documentation client\n"
                           "service tex2ps\n"
                               + Put("chap1.tex", chapterText.size(), "dos") + Put("paper.tex", text.size(), "dos")
                               + TemplatePuts()
                               + "mget *.log:dos\n"
                                 "mget *.bin:\n"
                                 "run tex2ps paper.tex\n"
                                 "get paper.ps:dos\n"
                                 "commit\n");
    EXPECT_EQ(sent.uploaded, chapterText + text + "% html style\n" + testRules);
    EXPECT_THAT(errors.Texts(), IsEmpty());
    EXPECT_EQ(workspace.Read(workspace.DocumentFile("paper.ps")), "%!PS-Adobe\n");
    EXPECT_EQ(workspace.Read(workspace.DocumentFile("paper.log")), "This is TeX\n");
    EXPECT_THAT(record.logs, ElementsAre(Pair(workspace.DocumentFile("paper.log"), LogState::Clean)));
    EXPECT_THAT(record.outputs, IsEmpty());
    EXPECT_TRUE(record.destroyed);
}

TEST_F(ServerDialogueTest, ProgressTextsFollowTheStepsOfTheDialogue)
{
    workspace.Write("doc/paper.tex", mainText);
    FakeServerScript script;
    script.results = {Result("paper.ps", std::string(3000, 'p'))};
    FakeProcessingServer server(script);

    const CallbackRecord record = RunJob(server, OutputMode::PostScript, "paper.tex");
    const auto& texts = record.progressTexts;
    ASSERT_GE(texts.size(), 6u);
    EXPECT_EQ(texts[0], "Generating LaTeX source...");
    EXPECT_EQ(texts[1], "Connecting...");
    EXPECT_EQ(texts[2], "Sending files");
    EXPECT_EQ(texts[3], "Sending files: 0 of 0kB");
    const auto waiting = std::find(texts.begin(), texts.end(), "Waiting for reply...");
    ASSERT_NE(waiting, texts.end());
    EXPECT_EQ(texts.back(), "Receiving files: 3 of 3kB");
    EXPECT_TRUE(std::all_of(waiting + 1, texts.end(), [](const std::string& text) { return text.rfind("Receiving files: ", 0) == 0; }));
}

TEST(TransferProgressTextTest, RoundsKilobytesToTheNearestWholeNumber)
{
    EXPECT_EQ(TransferProgressText("Sending files", 12 * 1024, 340 * 1024), "Sending files: 12 of 340kB");
    EXPECT_EQ(TransferProgressText("Receiving files", 511, 512), "Receiving files: 0 of 1kB");
    EXPECT_EQ(TransferProgressText("Receiving files", 1535, 1536), "Receiving files: 1 of 2kB");
}

TEST_F(ServerDialogueTest, ServiceAndRunLineFollowTheOutputAndTheDocumentsSettings)
{
    struct Case {
        std::string settings;
        OutputMode mode;
        std::string service;
        std::string runLine;
    };
    const std::string htmlGets = "mget paper/*.html:dos\nmget paper/*.gif:\nmget paper/*.png:\n";
    const std::vector<Case> cases = {
        // PDF is asked for whatever the processor setting says; PostScript takes the processor's service.
        {"%processor pdflatex2ps\n", OutputMode::Pdf, "tex2pdf", "run tex2pdf paper.tex\nget paper.pdf:\n"},
        {"%processor pdflatex2ps\n", OutputMode::PostScript, "pdflatex2ps", "run pdflatex2ps paper.tex\nget paper.ps:dos\n"},
        // HTML options come from the document or else from the parameter.
        {"", OutputMode::Html, "tex2html", "run tex2html paper.tex " + defaultHtmlOptions + "\n" + htmlGets},
        {"%cmdline -split 3\n", OutputMode::Html, "tex2html", "run tex2html paper.tex -split 3\n" + htmlGets},
        // An empty setting counts as none: the parameter's options are used.
        {"%cmdline \n", OutputMode::Html, "tex2html", "run tex2html paper.tex " + defaultHtmlOptions + "\n" + htmlGets},
        {"%language czech\n", OutputMode::Html, "cstex2html", "run cstex2html paper.tex " + defaultHtmlOptions + "\n" + htmlGets},
        {"%language Czech\n", OutputMode::Html, "tex2html", "run tex2html paper.tex " + defaultHtmlOptions + "\n" + htmlGets},
    };
    for (const Case& testCase : cases) {
        const std::string text = testCase.settings + mainText;
        workspace.Write("doc/paper.tex", text);
        FakeProcessingServer server(FakeServerScript{});
        RunJob(server, testCase.mode, "paper.tex");
        EXPECT_EQ(server.Record().script, "documentation client\nservice " + testCase.service + "\n"
                                              + Put("chap1.tex", chapterText.size(), "dos") + Put("paper.tex", text.size(), "dos")
                                              + TemplatePuts() + "mget *.log:dos\nmget *.bin:\n" + testCase.runLine + "commit\n")
            << "settings: " << testCase.settings;
    }
    EXPECT_THAT(errors.Texts(), IsEmpty());
}

TEST_F(ServerDialogueTest, ExtraFilesAreAnnouncedLowerCasedAndReadFromTheirOwnPaths)
{
    std::filesystem::remove(workspace.TemplateFile("html.sty"));
    std::filesystem::remove(workspace.TemplateFile("postprocess.txt"));
    const std::string text = "\\documentclass{article}\n%putfile Figs\\Plot.EPS\n%putfile data.bin\n%putfile missing.dat\n"
                             "\\includegraphics{fig.eps}\n";
    workspace.Write("doc/paper.tex", text);
    const std::string bib = "@book{x}\n";
    const std::string figure = "%!PS-Adobe EPSF\n";
    const std::string plot = "%!PS plot\n";
    const std::string data = std::string("\0\1\2binary", 9);
    const std::vector<std::string> extraFiles = {workspace.Write("doc/notes.bib", bib)};
    workspace.Write("doc/fig.eps", figure);
    workspace.Write("doc/Figs/Plot.EPS", plot);
    workspace.Write("doc/data.bin", data);
    FakeProcessingServer server(FakeServerScript{});

    RunJob(server, OutputMode::PostScript, "paper.tex", &extraFiles);

    const FakeServerRecord& sent = server.Record();
    EXPECT_EQ(sent.script, "documentation client\nservice tex2ps\n" + Put("paper.tex", text.size(), "dos")
                               + Put("notes.bib", bib.size(), "dos") + Put("fig.eps", figure.size(), "dos")
                               + Put("plot.eps", plot.size(), "") + Put("data.bin", data.size(), "")
                               + "mget *.log:dos\nmget *.bin:\nrun tex2ps paper.tex\nget paper.ps:dos\ncommit\n");
    EXPECT_EQ(sent.uploaded, text + bib + figure + plot + data);
    EXPECT_THAT(errors.Texts(), IsEmpty());
}

TEST_F(ServerDialogueTest, TemplateStyleGoesOnceWhenTheDocumentHasItsOwnCopy)
{
    const std::string text = "\\documentclass{article}\n\\usepackage{html}\n";
    workspace.Write("doc/paper.tex", text);
    workspace.Write("doc/html.sty", "% the document's own copy\n");
    FakeProcessingServer server(FakeServerScript{});

    RunJob(server, OutputMode::Pdf, "paper.tex");

    const FakeServerRecord& sent = server.Record();
    EXPECT_EQ(sent.script, "documentation client\nservice tex2pdf\n" + Put("paper.tex", text.size(), "dos") +
                               TemplatePuts() + "mget *.log:dos\nmget *.bin:\nrun tex2pdf paper.tex\nget paper.pdf:\ncommit\n");
    EXPECT_THAT(errors.Texts(), IsEmpty());
}

TEST_F(ServerDialogueTest, DocumentNameIsSentLowerCasedAndResultsKeepItsCase)
{
    const std::string text = mainText;
    workspace.Write("doc/Paper.TEX", text);
    FakeServerScript script;
    script.results = {Result("paper.log", "log\n"), Result("paper.ps", "ps\n")};
    FakeProcessingServer server(script);

    const CallbackRecord record = RunJob(server, OutputMode::PostScript, "Paper.TEX");

    const std::string& sent = server.Record().script;
    EXPECT_NE(sent.find(Put("paper.tex", text.size(), "dos")), std::string::npos) << sent;
    EXPECT_NE(sent.find("run tex2ps paper.tex\nget paper.ps:dos\n"), std::string::npos) << sent;
    EXPECT_EQ(workspace.Read(workspace.DocumentFile("Paper.ps")), "ps\n");
    EXPECT_EQ(workspace.Read(workspace.DocumentFile("Paper.log")), "log\n");
    EXPECT_FALSE(workspace.Exists(workspace.DocumentFile("paper.ps")));
    EXPECT_THAT(record.logs, ElementsAre(Pair(workspace.DocumentFile("Paper.log"), LogState::Clean)));
    EXPECT_THAT(errors.Texts(), IsEmpty());
}

TEST_F(ServerDialogueTest, PostScriptIsShownWhenParameterOneAsksForIt)
{
    workspace.Write("doc/paper.tex", mainText);
    for (const OutputMode mode : {OutputMode::PostScript, OutputMode::Pdf}) {
        FakeProcessingServer server(FakeServerScript{});
        auto parameters = workspace.Parameters(server.Address());
        parameters[JobParameter::ShowPostScript] = "1";
        const CallbackRecord record = workspace.Run(JobLocation::Remote, mode, workspace.DocumentFile("paper.tex"), parameters);
        if (mode == OutputMode::PostScript)
            EXPECT_THAT(record.outputs, ElementsAre(Pair(2, workspace.DocumentFile("paper.ps"))));
        else
            EXPECT_THAT(record.outputs, IsEmpty());
    }
}

TEST_F(ServerDialogueTest, LogIsCheckedForLatexErrorLines)
{
    workspace.Write("doc/paper.tex", mainText);
    struct Case {
        std::vector<FakeResult> results;
        LogState expected;
    };
    const std::vector<Case> cases = {
        {{Result("paper.log", "This is TeX\n! Undefined control sequence.\nl.3 \\foo\n")}, LogState::HasErrors},
        {{Result("paper.log", "! only on the first line\n")}, LogState::Clean},
        {{Result("paper.log", "This is TeX\nOutput written\n")}, LogState::Clean},
        {{Result("paper.ps", "ps\n")}, LogState::Clean},
    };
    for (const Case& testCase : cases) {
        std::filesystem::remove(workspace.DocumentFile("paper.log"));
        FakeServerScript script;
        script.results = testCase.results;
        FakeProcessingServer server(script);
        const CallbackRecord record = RunJob(server, OutputMode::PostScript, "paper.tex");
        EXPECT_THAT(record.logs, ElementsAre(Pair(workspace.DocumentFile("paper.log"), testCase.expected)));
    }
    EXPECT_THAT(errors.Texts(), IsEmpty());
}
