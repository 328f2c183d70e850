// The Problems pane: a job's errors and warnings listed below the editor, errors first, counted in the
// status bar; activating one, or F4 / Shift+F4, puts the caret on its line, in its file.
#include "app/window/app_resource_ids.h"
#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "app/window/running_jobs.h"
#include "docsystem/fake_processing_server.h"
#include "documents/latex_command_ids.h"
#include "documents/latex_doc.h"
#include "platform/doc_template.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_window.h"
#include "platform/command_ids.h"
#include "platform/virtual_keys.h"
#include "utils/test_scratch_directory.h"
#include "window_test_waits.h"
#include "views/quill_text_view.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using docsystem::testing::FakeProcessingServer;
using docsystem::testing::FakeServerScript;
using docsystem::testing::Result;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;
using namespace std::chrono_literals;

constexpr int ProblemCountPane = 5;
const std::string Paper = "\\documentclass{article}\n\\begin{document}\nSee \\ref{x}.\n\\input{part}\n\\end{document}\n";
const std::string Part = "first\nsecond\nthird\n";

class ProblemsPaneTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(PaperPath(), Paper);
        WriteFile(PartPath(), Part);
    }
    void TearDown() override
    {
        EXPECT_TRUE(WaitUntil([] { return running_jobs::Count() == 0; }));
        if (application != nullptr && application->m_pMainWnd != nullptr)
            application->m_pMainWnd->DestroyWindow();
        application.reset();
    }

    void Start()
    {
        application = std::make_unique<CEditorApp>(PaperPath());
        ASSERT_TRUE(application->InitInstance());
    }
    static FakeServerScript ScriptWithLog(const std::string& log)
    {
        FakeServerScript script;
        script.results = {Result("paper.pdf", "%PDF-1.4"), Result("paper.log", log)};
        return script;
    }
    void UseServer(const FakeProcessingServer& server)
    {
        backend.ProfileValues("TVL", "Quillwright")[{"settings", "address"}] = server.Address();
    }
    // The document keeps its text with the line ends of the platform's text form.
    static std::string WithCarriageReturns(const std::string& text)
    {
        std::string converted;
        for (const char character : text)
            converted += character == '\n' ? std::string("\r\n") : std::string(1, character);
        return converted;
    }
    std::string PaperPath() const { return directory / "paper.tex"; }
    std::string PartPath() const { return directory / "part.tex"; }

    CMainFrame& Frame() { return *application->MainFrame(); }
    CQuillTextView& View() { return dynamic_cast<CQuillTextView&>(*Frame().GetActiveView()); }
    CLatexDoc& Document() { return dynamic_cast<CLatexDoc&>(*application->DocTemplate()->GetDocument()); }
    const platform::headless::HeadlessWindow& FramePeer() { return backend.Peer(Frame()); }
    const platform::ListPaneState& Pane() { return FramePeer().ListPane(); }
    std::string Count() { return FramePeer().StatusPanes().at(ProblemCountPane).text; }
    std::vector<std::string> ShownMessages()
    {
        std::vector<std::string> messages;
        for (const auto& row : Pane().rows)
            messages.push_back(row.at(3));
        return messages;
    }
    bool Enabled(UINT command) { return app::testing::MenuCommandEnabled(backend, Frame(), command); }
    bool WaitUntil(const std::function<bool()>& done) { return app::testing::PumpUntil(backend, done); }
    // What a job's thread does at the end of a LaTeX run; the window pumps meanwhile.
    void ReportFromJobThread(const std::vector<LatexProblem>& problems)
    {
        auto callback = application->CreateJobCallback(nullptr);
        std::atomic<bool> done = false;
        std::thread job([&] {
            callback->ShowProblems(problems);
            done = true;
        });
        EXPECT_TRUE(WaitUntil([&] { return done.load(); }));
        job.join();
    }
    LatexProblem Error(const std::string& message, int line, const std::string& path = {})
    {
        return {ProblemSeverity::Error, message, path.empty() ? PaperPath() : path, line};
    }
    LatexProblem Warning(const std::string& message, int line)
    {
        return {ProblemSeverity::Warning, message, PaperPath(), line};
    }

    platform::headless::HeadlessBackend backend;
    ScratchDirectory directory;
    std::unique_ptr<CEditorApp> application;
};

TEST_F(ProblemsPaneTest, JobWithAWarningFillsThePaneAndTheNextJobEmptiesIt)
{
    const std::string log = "(./paper.tex\nLaTeX Warning: Reference `x' on page 1 undefined on input line 3.\n\n)\n";
    FakeProcessingServer server(ScriptWithLog(log));
    UseServer(server);
    Start();
    EXPECT_TRUE(Pane().rows.empty());
    EXPECT_EQ(Pane().columns, (std::vector<std::string>{"Type", "File", "Line", "Message"}));
    EXPECT_EQ(Count(), "");
    EXPECT_FALSE(Enabled(ID_NEXT_PROBLEM));

    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_CREATE_PDF));
    ASSERT_TRUE(WaitUntil([&] { return !Pane().rows.empty(); })) << server.Record().script;
    EXPECT_EQ(Pane().rows[0], (std::vector<std::string>{"Warning", "paper.tex", "3", "Reference `x' on page 1 undefined"}));
    EXPECT_EQ(Count(), "1 warning");
    EXPECT_TRUE(Enabled(ID_NEXT_PROBLEM));
    ASSERT_TRUE(WaitUntil([] { return running_jobs::Count() == 0; }));

    // The next job starts with an empty pane, and its clean log leaves it so.
    FakeProcessingServer cleanServer(ScriptWithLog("(./paper.tex)\n"));
    UseServer(cleanServer);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_CREATE_PDF));
    EXPECT_TRUE(Pane().rows.empty());
    EXPECT_EQ(Count(), "");
    ASSERT_TRUE(WaitUntil([] { return running_jobs::Count() == 0; }));
    cleanServer.Record();
    EXPECT_TRUE(Pane().rows.empty());
    EXPECT_EQ(Count(), "");
}

TEST_F(ProblemsPaneTest, ErrorsComeFirstAndTheStatusBarCountsThem)
{
    Start();
    const struct {
        std::vector<LatexProblem> problems;
        std::vector<std::string> shown;
        std::string count;
    } cases[] = {
        {{Warning("w1", 1), Error("e1", 2), Warning("w2", 3), Error("e2", 4)}, {"e1", "e2", "w1", "w2"}, "2 errors, 2 warnings"},
        {{Error("e1", 2)}, {"e1"}, "1 error"},
        {{Warning("w1", 1), Warning("w2", 3)}, {"w1", "w2"}, "2 warnings"},
        {{Error("e1", 2), Warning("w1", 1)}, {"e1", "w1"}, "1 error, 1 warning"},
        {{}, {}, ""},
    };
    for (const auto& testCase : cases) {
        ReportFromJobThread(testCase.problems);
        EXPECT_EQ(ShownMessages(), testCase.shown) << testCase.count;
        EXPECT_EQ(Count(), testCase.count);
        EXPECT_EQ(Pane().selectedRow, -1) << testCase.count;
    }
}

TEST_F(ProblemsPaneTest, ActivatingAProblemPutsTheCaretOnItsLineWithTheFocusInTheEditor)
{
    Start();
    // Line 0: the log tells none (the caret stays at the end of the selected text); line 99: the
    // file has become shorter since the job.
    ReportFromJobThread({Error("here", 3), Error("nowhere", 0), Error("past the end", 99)});
    const struct {
        int row;
        TextPosition caret;
    } cases[] = {{0, {0, 2}}, {1, {0, 5}}, {2, {0, 5}}, {0, {0, 2}}};
    for (const auto& testCase : cases) {
        View().SelectAll();
        Frame().SetFocus();
        backend.Peer(Frame()).ActivateListRow(testCase.row);
        EXPECT_EQ(View().CaretPos(), testCase.caret) << testCase.row;
        EXPECT_EQ(Pane().selectedRow, testCase.row);
        EXPECT_TRUE(View().HasFocus()) << testCase.row;
        EXPECT_EQ(View().HasSelection(), testCase.row == 1) << "a jump leaves no selection behind";
    }
}

TEST_F(ProblemsPaneTest, F4AndShiftF4CycleThroughTheProblemsAndWrapAround)
{
    Start();
    ReportFromJobThread({Warning("w", 1), Error("e1", 3), Error("e2", 4)});
    View().SetFocus();
    // Errors first: rows are e1 (line 3), e2 (line 4), w (line 1).
    const struct {
        bool shift;
        int row;
        int line;
    } presses[] = {
        {false, 0, 2}, {false, 1, 3}, {false, 2, 0}, {false, 0, 2},  // wraps forward
        {true, 2, 0},  {true, 1, 3},  {true, 0, 2},  {true, 2, 0},   // and backward
    };
    for (const auto& press : presses) {
        if (press.shift)
            backend.PressKey(VK_F4, {VK_SHIFT});
        else
            backend.PressKey(VK_F4);
        EXPECT_EQ(Pane().selectedRow, press.row);
        EXPECT_EQ(View().CaretPos().line, press.line) << press.row;
    }
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_NEXT_PROBLEM));
    EXPECT_EQ(Pane().selectedRow, 0);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_PREVIOUS_PROBLEM));
    EXPECT_EQ(Pane().selectedRow, 2);
}

TEST_F(ProblemsPaneTest, AProblemInAnotherFileOpensItAfterAskingToSaveTheCurrentOne)
{
    Start();
    ReportFromJobThread({Error("in the part", 2, PartPath()), Error("in the paper", 3)});
    Document().Buffer().SetModified(true);

    // Cancel keeps the modified paper and the caret where it was.
    backend.AnswerMessageBox(IDCANCEL);
    backend.Peer(Frame()).ActivateListRow(0);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(Document().GetPathName(), PaperPath());
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(View().CaretPos(), (TextPosition{0, 0}));

    backend.AnswerMessageBox(IDNO);
    backend.Peer(Frame()).ActivateListRow(0);
    EXPECT_EQ(Document().GetPathName(), PartPath());
    EXPECT_EQ(Document().WholeText(), WithCarriageReturns(Part));
    EXPECT_EQ(View().CaretPos(), (TextPosition{0, 1}));
    EXPECT_TRUE(View().HasFocus());
    EXPECT_EQ(Pane().rows.size(), 2u) << "opening a file keeps the problems";

    // Back to the paper: unmodified, so nothing is asked.
    backend.PressKey(VK_F4);
    EXPECT_EQ(backend.MessageBoxes().size(), 2u);
    EXPECT_EQ(Document().GetPathName(), PaperPath());
    EXPECT_EQ(View().CaretPos(), (TextPosition{0, 2}));
}

TEST_F(ProblemsPaneTest, AProblemInAMissingFileIsReportedAndChangesNothing)
{
    Start();
    ReportFromJobThread({Error("gone", 2, directory / "gone.tex")});
    backend.Peer(Frame()).ActivateListRow(0);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_NE(backend.MessageBoxes()[0].text.find("gone.tex"), std::string::npos) << backend.MessageBoxes()[0].text;
    EXPECT_EQ(Document().GetPathName(), PaperPath());
    EXPECT_EQ(Document().WholeText(), WithCarriageReturns(Paper));
}

}  // namespace
