// Output from the editor window: the output commands start a documentation job on a thread of its
// own, the window stays usable, and the job's end reaches the view ("Finished" and a beep) or, when
// the window is gone, nothing.
#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "app/window/running_jobs.h"
#include "docsystem/fake_processing_server.h"
#include "documents/latex_command_ids.h"
#include "documents/latex_doc.h"
#include "documents/latex_view.h"
#include "platform/command_ids.h"
#include "platform/doc_template.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_window.h"
#include "platform/virtual_keys.h"
#include "utils/loopback_peer.h"
#include "utils/test_scratch_directory.h"
#include "window_test_waits.h"

#include <gtest/gtest.h>

#include <future>

namespace {

using docsystem::testing::FakeProcessingServer;
using docsystem::testing::FakeServerScript;
using docsystem::testing::Result;
using utils::testing::ReadFile;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;
using namespace std::chrono_literals;

constexpr int MessagePane = 0;
constexpr int ProgressPane = 1;
const std::string Paper = "\\documentclass{article}\n\\begin{document}\nHello.\n\\end{document}\n";

// A server that accepts the job's connection and says nothing until the test releases it; then it
// greets, takes the script and aborts the job.
class HeldServer {
public:
    HeldServer()
        : m_peer([this](int socket) {
              m_connected = true;
              m_released.get_future().wait();
              test_support::WriteText(socket, "TORVEL server 2.1\n");
              while (test_support::ReadLineFrom(socket) != "commit\n") {
              }
              test_support::WriteText(socket, "abort held by the test\n");
          })
    {
    }
    ~HeldServer() { Release(); }

    std::string Address() const { return m_peer.Address(); }
    bool Connected() const { return m_connected; }
    void Release()
    {
        if (!m_releasedOnce.exchange(true))
            m_released.set_value();
    }

private:
    std::atomic<bool> m_connected = false;
    std::promise<void> m_released;
    std::atomic<bool> m_releasedOnce = false;
    test_support::LoopbackPeer m_peer;
};

// Lets a test look at the window at the moment of the beep.
class BeepWatchingBackend : public platform::headless::HeadlessBackend {
public:
    void Beep() override
    {
        HeadlessBackend::Beep();
        if (onBeep)
            onBeep();
    }
    std::function<void()> onBeep;
};

class OutputJobTest : public testing::Test {
protected:
    void TearDown() override
    {
        // No job may outlive its test: it would talk to the next test's windows.
        EXPECT_TRUE(WaitForNoJob());
        if (application != nullptr && application->m_pMainWnd != nullptr)
            application->m_pMainWnd->DestroyWindow();
        application.reset();
    }

    void Start(const std::string& commandLine)
    {
        application = std::make_unique<CEditorApp>(commandLine);
        ASSERT_TRUE(application->InitInstance());
    }
    void StartWithPaper(const std::string& serverAddress, const std::string& text = Paper)
    {
        Setting("address", serverAddress);
        WriteFile(PaperPath(), text);
        Start(PaperPath());
    }
    std::string PaperPath() const { return directory / "paper.tex"; }
    void Setting(const std::string& key, const std::string& value)
    {
        backend.ProfileValues("TVL", "Quillwright")[{"settings", key}] = value;
    }

    CMainFrame& Frame() { return *application->MainFrame(); }
    CLatexView& View() { return dynamic_cast<CLatexView&>(*Frame().GetActiveView()); }
    CLatexDoc& Document() { return dynamic_cast<CLatexDoc&>(*application->DocTemplate()->GetDocument()); }
    std::string Pane(int index) { return backend.Peer(Frame()).StatusPanes().at(static_cast<std::size_t>(index)).text; }
    bool Enabled(UINT command) { return app::testing::MenuCommandEnabled(backend, Frame(), command); }
    bool WaitUntil(const std::function<bool()>& done) { return app::testing::PumpUntil(backend, done); }
    bool WaitForConnection(const HeldServer& server) { return WaitUntil([&] { return server.Connected(); }); }
    bool WaitForBeeps(int count) { return WaitUntil([&] { return backend.Beeps() >= count; }); }
    bool WaitForNoJob() { return WaitUntil([] { return running_jobs::Count() == 0; }); }
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : backend.MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }

    BeepWatchingBackend backend;
    ScratchDirectory directory;
    std::unique_ptr<CEditorApp> application;
};

TEST_F(OutputJobTest, PdfJobRunsInTheBackgroundAndEndsWithFinishedAndABeep)
{
    FakeServerScript script;
    script.results = {Result("paper.pdf", "%PDF-1.4 made by the test"), Result("paper.log", "no errors\n")};
    FakeProcessingServer server(script);
    StartWithPaper(server.Address());
    Document().Buffer().SetModified(true);

    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_CREATE_PDF));
    EXPECT_TRUE(Document().m_bProcessing);
    EXPECT_FALSE(Document().IsModified()) << "the document is saved before the job starts";
    EXPECT_FALSE(backend.WaitCursorShown()) << "the wait cursor only covers the start";

    ASSERT_TRUE(WaitForBeeps(1)) << ::testing::PrintToString(MessageTexts());
    EXPECT_FALSE(Document().m_bProcessing);
    EXPECT_EQ(Pane(MessagePane), "Finished");
    EXPECT_EQ(Pane(ProgressPane), "");
    EXPECT_EQ(ReadFile(directory / "paper.pdf"), "%PDF-1.4 made by the test");
    EXPECT_TRUE(backend.MessageBoxes().empty()) << MessageTexts().front();
    EXPECT_NE(server.Record().script.find("service tex2pdf"), std::string::npos) << server.Record().script;
}

TEST_F(OutputJobTest, OutputAndViewCommandsAreDisabledWhileAJobRuns)
{
    HeldServer server;
    StartWithPaper(server.Address());
    const std::vector<UINT> blocked = {ID_OUTPUT_CREATE_POSTSCRIPT, ID_OUTPUT_CREATE_PDF, ID_OUTPUT_CREATE_HTML,
                                       ID_OUTPUT_VIEW_PDF, ID_OUTPUT_VIEW_HTML};
    for (const UINT command : blocked)
        EXPECT_TRUE(Enabled(command)) << command;

    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_CREATE_HTML));
    ASSERT_TRUE(WaitForConnection(server));
    for (const UINT command : blocked)
        EXPECT_FALSE(Enabled(command)) << command;
    // It has no update handler; its handler does nothing while the job runs.
    EXPECT_TRUE(Enabled(ID_OUTPUT_VIEW_POSTSCRIPT));
    EXPECT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_VIEW_POSTSCRIPT));
    // A second start by any road is ignored: a press of the master-document key, a command message.
    backend.PressKey('P', {VK_CONTROL, VK_SHIFT});
    View().SendMessage(WM_COMMAND, ID_OUTPUT_CREATE_PDF);
    EXPECT_EQ(running_jobs::Count(), 1);

    server.Release();
    ASSERT_TRUE(WaitForBeeps(1));
    EXPECT_FALSE(Document().m_bProcessing);
    for (const UINT command : blocked)
        EXPECT_TRUE(Enabled(command)) << command;
    // The one job failed at the server: its error box, then the end as always.
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_TRUE(MessageTexts()[0].starts_with("Documentation system error:\n")) << MessageTexts()[0];
    EXPECT_NE(MessageTexts()[0].find("held by the test"), std::string::npos) << MessageTexts()[0];
    EXPECT_EQ(Pane(MessagePane), "Finished");
}

TEST_F(OutputJobTest, FinishedNotificationClearsProgressShowsFinishedThenBeeps)
{
    Start("");
    backend.PumpMessages();
    Document().m_bProcessing = true;
    Frame().StatusBar().SetPaneText(ProgressPane, "Receiving files: 3 of 9kB");

    // The beep comes last: by then the flag is clear, the progress gone and "Finished" shown.
    std::vector<std::string> atBeep;
    backend.onBeep = [&] {
        atBeep = {Document().m_bProcessing ? "processing" : "idle", Pane(ProgressPane), Pane(MessagePane)};
    };
    EXPECT_EQ(View().SendMessage(WM_USER + 10, 0, 0), 0);
    EXPECT_EQ(atBeep, (std::vector<std::string>{"idle", "", "Finished"}));
    EXPECT_EQ(backend.Beeps(), 1);
    // "Finished" stays until the idle message comes back, as when the view gains the focus.
    backend.PumpMessages();
    EXPECT_EQ(Pane(MessagePane), "Finished");
    Frame().SetFocus();
    backend.PumpMessages();
    EXPECT_EQ(Pane(MessagePane), "Ready");
}

TEST_F(OutputJobTest, NoJobStartsWhenSavingIsRefused)
{
    Start("");
    backend.AnswerFileDialog(std::nullopt);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_CREATE_PDF));
    EXPECT_EQ(backend.FileDialogs().size(), 1u) << "an untitled document asks for its name first";
    EXPECT_FALSE(Document().m_bProcessing);
    EXPECT_EQ(running_jobs::Count(), 0);
    EXPECT_EQ(backend.Beeps(), 0);
}

TEST_F(OutputJobTest, JobThatCannotReachTheServerStillEndsWithFinished)
{
    std::string closedAddress;
    {
        // A port that was free a moment ago: nothing listens there now.
        HeldServer probe;
        closedAddress = probe.Address();
    }
    StartWithPaper(closedAddress);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_CREATE_POSTSCRIPT));
    ASSERT_TRUE(WaitForBeeps(1));
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_TRUE(MessageTexts()[0].starts_with("Documentation system error:\n")) << MessageTexts()[0];
    EXPECT_EQ(Pane(MessagePane), "Finished");
    EXPECT_FALSE(Document().m_bProcessing);
}

TEST_F(OutputJobTest, MasterDocumentKeysStartOutputOnlyForADocumentWithItsBody)
{
    struct Case {
        std::string text;
        UINT key;
        bool starts;
    };
    for (const Case& example : {Case{"\\section{A chapter}\n", 'P', false}, Case{"\\section{A chapter}\n", 'H', false},
                                Case{Paper, 'P', true}, Case{Paper, 'H', true}}) {
        HeldServer server;
        StartWithPaper(server.Address(), example.text);
        View().SetFocus();
        backend.PressKey(example.key, {VK_CONTROL, VK_SHIFT});
        EXPECT_EQ(Document().m_bProcessing, example.starts) << example.text << char(example.key);
        if (example.starts) {
            ASSERT_TRUE(WaitForConnection(server));
            server.Release();
            ASSERT_TRUE(WaitForNoJob());
        }
        application->m_pMainWnd->DestroyWindow();
        application.reset();
    }
}

TEST_F(OutputJobTest, ClosingWhileAJobRunsAsksAndCancelKeepsTheWindow)
{
    HeldServer server;
    StartWithPaper(server.Address());
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_CREATE_PDF));
    backend.AnswerMessageBox(IDCANCEL);
    Frame().SendMessage(WM_CLOSE);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find("An output job is still running."), std::string::npos);
    EXPECT_NE(application->m_pMainWnd, nullptr);
    EXPECT_FALSE(backend.QuitRequested());

    server.Release();
    ASSERT_TRUE(WaitForBeeps(1));
    EXPECT_NE(application->m_pMainWnd, nullptr) << "a cancelled close stays cancelled";
    EXPECT_EQ(Pane(MessagePane), "Finished");
}

TEST_F(OutputJobTest, ClosingWithYesWaitsForTheJobAndThenAsksToSaveChanges)
{
    HeldServer server;
    StartWithPaper(server.Address());
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_CREATE_PDF));
    backend.AnswerMessageBox(IDYES);
    Frame().SendMessage(WM_CLOSE);
    EXPECT_NE(application->m_pMainWnd, nullptr);
    // The window keeps working meanwhile: the text changes after the save of the job.
    View().SetFocus();
    std::int32_t endLine = 0;
    std::int32_t endChar = 0;
    ASSERT_TRUE(Document().Buffer().InsertText(nullptr, 0, 0, "% typed while waiting\n", endLine, endChar, 4));
    ASSERT_TRUE(Document().IsModified());

    backend.AnswerMessageBox(IDOK);   // the job's error
    backend.AnswerMessageBox(IDYES);  // save the changes when the window closes
    server.Release();
    ASSERT_TRUE(WaitUntil([&] { return backend.QuitRequested(); })) << ::testing::PrintToString(MessageTexts());
    EXPECT_EQ(application->m_pMainWnd, nullptr);
    EXPECT_TRUE(ReadFile(PaperPath()).starts_with("% typed while waiting\n"));
    EXPECT_EQ(backend.Beeps(), 1);
}

TEST_F(OutputJobTest, ClosingWithNoAbandonsTheJobWithoutTouchingTheGoneWindows)
{
    HeldServer server;
    StartWithPaper(server.Address());
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_CREATE_PDF));
    ASSERT_TRUE(WaitForConnection(server));
    backend.AnswerMessageBox(IDNO);
    Frame().SendMessage(WM_CLOSE);
    EXPECT_EQ(application->m_pMainWnd, nullptr);
    EXPECT_TRUE(backend.QuitRequested());
    EXPECT_EQ(running_jobs::Count(), 1);

    // The job ends after its window: its error box still shows, its notification finds no view.
    server.Release();
    ASSERT_TRUE(WaitForNoJob());
    EXPECT_EQ(backend.Beeps(), 0);
    EXPECT_EQ(backend.MessageBoxes().size(), 2u);
}

TEST_F(OutputJobTest, OpeningAnotherFileWhileAJobRunsKeepsOutputBlockedUntilItEnds)
{
    HeldServer server;
    StartWithPaper(server.Address());
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_OUTPUT_CREATE_PDF));
    WriteFile(directory / "other.tex", "other\n");
    ASSERT_NE(application->OpenDocumentFile(directory / "other.tex"), nullptr);
    EXPECT_TRUE(Document().m_bProcessing) << "a second job must not start while the first runs";
    EXPECT_FALSE(Enabled(ID_OUTPUT_CREATE_PDF));

    server.Release();
    ASSERT_TRUE(WaitForBeeps(1));
    EXPECT_FALSE(Document().m_bProcessing);
    EXPECT_EQ(Document().GetPathName(), directory / "other.tex");
    EXPECT_EQ(ReadFile(directory / "other.tex"), "other\n");
}

}  // namespace
