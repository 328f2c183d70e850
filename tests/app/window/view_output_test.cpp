// The View commands of the LaTeX view, and what the window's job callback gives a job.
#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "app/window/window_job_callback.h"
#include "app/xdg_tree.h"
#include "documents/latex_command_ids.h"
#include "documents/latex_doc.h"
#include "platform/doc_template.h"
#include "platform/headless/headless_backend.h"
#include "utils/test_scratch_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace {

using app::testing::XdgTree;
using utils::testing::ReadFile;
using utils::testing::WriteFile;

class ViewOutputTest : public testing::Test {
protected:
    void TearDown() override
    {
        if (application != nullptr && application->m_pMainWnd != nullptr)
            application->m_pMainWnd->DestroyWindow();
        application.reset();
    }

    void Start(const std::string& documentName)
    {
        documentPath = tree / ("doc/" + documentName);
        tree.Write("doc/" + documentName, "\\documentclass{article}\n");
        application = std::make_unique<CEditorApp>(documentPath);
        ASSERT_TRUE(application->InitInstance());
    }
    void Setting(const std::string& key, const std::string& value)
    {
        backend.ProfileValues("TVL", "Quillwright")[{"settings", key}] = value;
    }
    CMainFrame& Frame() { return *application->MainFrame(); }
    CLatexDoc& Document() { return dynamic_cast<CLatexDoc&>(*application->DocTemplate()->GetDocument()); }

    // What the recording viewer was started with; empty when it was not started within 5 s.
    std::string ViewerArguments(const std::string& viewer)
    {
        for (int attempt = 0; attempt < 500; ++attempt) {
            if (std::filesystem::exists(viewer + ".args"))
                return ReadFile(viewer + ".args");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }

    XdgTree tree;
    platform::headless::HeadlessBackend backend;
    std::string documentPath;
    std::unique_ptr<CEditorApp> application;
};

TEST_F(ViewOutputTest, ViewCommandsOpenTheOutputNamedAfterTheDocumentInTheConfiguredViewer)
{
    struct Case {
        UINT command;
        const char* setting;
        const char* document;
        const char* opened;
    };
    for (const Case& example : {Case{ID_OUTPUT_VIEW_PDF, "pdfviewer", "paper.tex", "doc/paper.pdf"},
                                Case{ID_OUTPUT_VIEW_POSTSCRIPT, "psviewer", "Paper.final.tex", "doc/Paper.final.ps"},
                                Case{ID_OUTPUT_VIEW_PDF, "pdfviewer", "notes", "doc/notes.pdf"}}) {
        const std::string viewer = tree.WriteRecordingProgram(std::string("opt/viewer of ") + example.document + "/show");
        Setting(example.setting, viewer);
        Start(example.document);
        Document().SetModifiedFlag(true);
        ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), example.command));
        EXPECT_FALSE(Document().IsModified()) << "every document is saved before its output is shown";
        EXPECT_EQ(ViewerArguments(viewer), tree / example.opened + "\n") << example.document;
        EXPECT_TRUE(backend.MessageBoxes().empty());
        TearDown();
    }
}

TEST_F(ViewOutputTest, HtmlOutputIsThePageNamedAfterTheDocumentElseTheIndexElseNothing)
{
    const std::string viewer = tree.WriteRecordingProgram("opt/browser");
    Setting("htmlviewer", viewer);
    Start("paper.tex");

    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_VIEW_HTML));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(std::filesystem::exists(viewer + ".args")) << "no page, no viewer";
    EXPECT_TRUE(backend.MessageBoxes().empty());

    tree.Write("doc/paper/index.html", "<p>index</p>");
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_VIEW_HTML));
    EXPECT_EQ(ViewerArguments(viewer), tree / "doc/paper/index.html\n");

    std::filesystem::remove(viewer + ".args");
    tree.Write("doc/paper/paper.html", "<p>paper</p>");
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_VIEW_HTML));
    EXPECT_EQ(ViewerArguments(viewer), tree / "doc/paper/paper.html\n");
}

TEST_F(ViewOutputTest, WithoutSettingTheAssociationIsUsedAndWithoutEitherTheUserIsTold)
{
    Start("paper.tex");
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_VIEW_PDF));
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].text, "viewer application not found");

    const std::string associated = tree.WriteRecordingProgram("bin/pdfview");
    tree.Write("system/mime/globs2", "50:application/pdf:*.pdf\n");
    tree.Write("system/applications/pdf.desktop", "[Desktop Entry]\nExec=pdfview %f\n");
    tree.Write("config/mimeapps.list", "[Default Applications]\napplication/pdf=pdf.desktop\n");
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_VIEW_PDF));
    EXPECT_EQ(ViewerArguments(associated), tree / "doc/paper.pdf\n");

    Setting("pdfviewer", tree / "opt/not installed");
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_VIEW_PDF));
    ASSERT_EQ(backend.MessageBoxes().size(), 2u);
    EXPECT_EQ(backend.MessageBoxes()[1].text, "failed to run viewer:\nNo such file or directory");
}

TEST_F(ViewOutputTest, HtmlViewShowsThePageItselfAndOffersNoLatexOutput)
{
    const std::string viewer = tree.WriteRecordingProgram("opt/browser");
    Setting("htmlviewer", viewer);
    Start("page.html");
    const auto enabled = [&](UINT command) {
        const auto* entry = backend.OpenMenuEntry(Frame(), command);
        return entry != nullptr && entry->enabled;
    };
    for (const UINT command : {ID_OUTPUT_CREATE_POSTSCRIPT, ID_OUTPUT_CREATE_PDF, ID_OUTPUT_CREATE_HTML,
                               ID_OUTPUT_VIEW_POSTSCRIPT, ID_OUTPUT_VIEW_PDF, ID_INSERT_INLINE_MATH})
        EXPECT_FALSE(enabled(command)) << command;
    application->DocTemplate()->GetDocument()->SetModifiedFlag(true);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_VIEW_HTML));
    EXPECT_FALSE(application->DocTemplate()->GetDocument()->IsModified());
    EXPECT_EQ(ViewerArguments(viewer), documentPath + "\n");
}

TEST_F(ViewOutputTest, JobCallbackAnswersFromTheSettingsAsTheJobStarts)
{
    Start("paper.tex");
    const auto parameters = [&] {
        const auto callback = application->CreateJobCallback(nullptr);
        std::vector<std::string> values;
        for (int number = 0; number <= 9; ++number)
            values.push_back(callback->GetParameter(static_cast<JobParameter>(number)));
        return values;
    };
    const std::vector<std::string> defaults = parameters();
    EXPECT_FALSE(defaults[0].empty());
    EXPECT_TRUE(std::filesystem::exists(defaults[0] + "/template/postprocess.txt")) << defaults[0];
    EXPECT_EQ(std::vector<std::string>(defaults.begin() + 1, defaults.end()),
              (std::vector<std::string>{"0", "", "0", "", "localhost:3000",
                                        "-no_navigation -split 0 -link 0 -math_scale_factor 1.29 -figure_scale_factor 1.29",
                                        "", "", ""}));

    Setting("address", "server.example:4000");
    Setting("cmdline", "-split 1");
    Setting("psviewer", "/usr/bin/gv");
    Setting("phasetimelimit", "60");
    const std::vector<std::string> configured = parameters();
    EXPECT_EQ(configured[2], "/usr/bin/gv");
    EXPECT_EQ(configured[5], "server.example:4000");
    EXPECT_EQ(configured[6], "-split 1");
    EXPECT_EQ(configured[8], "60");
}

TEST_F(ViewOutputTest, LogWithErrorsOpensInThePlainTextProgramUnlessTheProblemsPaneListsThem)
{
    const std::string editor = tree.WriteRecordingProgram("bin/texteditor");
    tree.Write("data/applications/editor.desktop", "[Desktop Entry]\nExec=texteditor %F\n");
    tree.Write("data/applications/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop\n");
    Start("paper.tex");
    const LatexProblem error{ProblemSeverity::Error, "Undefined control sequence.", tree / "doc/paper.tex", 3};
    const LatexProblem warning{ProblemSeverity::Warning, "Reference `x' undefined", tree / "doc/paper.tex", 4};
    const struct {
        std::vector<LatexProblem> problems;
        LogState state;
        bool opened;
    } cases[] = {
        {{}, LogState::Clean, false},
        {{error}, LogState::HasErrors, false},
        {{warning}, LogState::HasErrors, true},
        {{}, LogState::HasErrors, true},
    };
    for (const auto& testCase : cases) {
        std::filesystem::remove(editor + ".args");
        const auto callback = application->CreateJobCallback(nullptr);
        callback->ShowProblems(testCase.problems);
        callback->ShowLog(tree / "doc/paper.log", testCase.state);
        if (testCase.opened) {
            EXPECT_EQ(ViewerArguments(editor), tree / "doc/paper.log\n");
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            EXPECT_FALSE(std::filesystem::exists(editor + ".args")) << testCase.problems.size();
        }
    }
}

}  // namespace
