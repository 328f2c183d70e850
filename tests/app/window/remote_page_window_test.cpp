// Pages on the server opened and saved from the window, and the read-only guard of local pages.
#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "docsystem/fake_processing_server.h"
#include "documents/html_doc.h"
#include "platform/command_ids.h"
#include "platform/doc_template.h"
#include "platform/headless/headless_backend.h"
#include "utils/file_utils.h"
#include "utils/test_scratch_directory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using docsystem::testing::FakeProcessingServer;
using docsystem::testing::FakeServerScript;
using docsystem::testing::Result;
using utils::testing::ReadFile;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;

constexpr int Yes = 6;
constexpr int No = 7;
const std::string Page = "<html>\n<p>old</p>\n</html>\n";

class RemotePageWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("TMPDIR");
        savedTemporaryDirectory = old == nullptr ? "" : old;
        std::filesystem::create_directories(temporary);
        ::setenv("TMPDIR", temporary.c_str(), 1);
    }
    void TearDown() override
    {
        if (application != nullptr && application->m_pMainWnd != nullptr)
            application->m_pMainWnd->DestroyWindow();
        application.reset();
        if (savedTemporaryDirectory.empty())
            ::unsetenv("TMPDIR");
        else
            ::setenv("TMPDIR", savedTemporaryDirectory.c_str(), 1);
    }

    bool Start(const std::string& commandLine)
    {
        application = std::make_unique<CEditorApp>(commandLine);
        return application->InitInstance();
    }
    void UseServer(const FakeProcessingServer& server)
    {
        backend.ProfileValues("TVL", "Quillwright")[{"settings", "maintenanceaddress"}] = server.Address();
    }
    CHtmlDoc& Document() { return dynamic_cast<CHtmlDoc&>(*application->DocTemplate()->GetDocument()); }
    CMainFrame& Frame() { return *application->MainFrame(); }
    std::string LastMessage() const { return backend.MessageBoxes().empty() ? "" : backend.MessageBoxes().back().text; }
    bool TemporaryFilesLeft() const { return !std::filesystem::is_empty(temporary); }
    void TypeAtStart(const std::string& text)
    {
        std::int32_t endLine = 0;
        std::int32_t endChar = 0;
        ASSERT_TRUE(Document().Buffer().InsertText(nullptr, 0, 0, text, endLine, endChar, 4));
    }

    ScratchDirectory directory;
    std::string temporary = directory / "tmp";
    std::string savedTemporaryDirectory;
    platform::headless::HeadlessBackend backend;
    std::unique_ptr<CEditorApp> application;
};

FakeServerScript Serving(const std::string& page)
{
    FakeServerScript script;
    script.results = {Result("file", page)};
    return script;
}

TEST_F(RemotePageWindowTest, APageOpensEditsAndSavesThroughTheMaintenanceService)
{
    FakeProcessingServer opening(Serving(Page));
    UseServer(opening);
    ASSERT_TRUE(Start("http://localhost/dir/"));
    EXPECT_EQ(opening.Record().script.find("run cp /var/www/html/dir/index.html ./file\n") != std::string::npos, true);
    EXPECT_EQ(Document().WholeText(), "<html>\r\n<p>old</p>\r\n</html>\r\n");
    EXPECT_EQ(Document().GetTitle(), "/var/www/html/dir/index.html");
    EXPECT_FALSE(TemporaryFilesLeft());

    TypeAtStart("x");
    FakeProcessingServer saving(FakeServerScript{});
    UseServer(saving);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_SAVE));
    EXPECT_EQ(saving.Record().script, "client Quillwright\nservice maintenance\nput file:27:dos\nrun cp file "
                                      "/var/www/html/dir/index.html\ncommit\n");
    EXPECT_EQ(saving.Record().uploaded, "x<html>\n<p>old</p>\n</html>\n");
    EXPECT_TRUE(backend.MessageBoxes().empty()) << LastMessage();
    EXPECT_TRUE(Document().IsModified()) << "a page saved to the server stays marked modified";
    EXPECT_FALSE(TemporaryFilesLeft());
}

TEST_F(RemotePageWindowTest, ARefusedSaveKeepsTheTextAndSaysWhy)
{
    FakeProcessingServer opening(Serving(Page));
    UseServer(opening);
    ASSERT_TRUE(Start("http://localhost/page.html"));
    TypeAtStart("y");
    const std::string before = Document().WholeText();
    FakeServerScript refusing;
    refusing.firstPhase = "abort the web root is not writable\n";
    FakeProcessingServer saving(refusing);
    UseServer(saving);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_SAVE));
    EXPECT_EQ(LastMessage(), "failed to save /var/www/html/page.html: the server refused: the web root is not writable");
    EXPECT_EQ(Document().WholeText(), before);
    EXPECT_TRUE(Document().IsModified());
    EXPECT_FALSE(TemporaryFilesLeft());
}

TEST_F(RemotePageWindowTest, ChangesKeptWhenClosingGoBackToTheServerNotToALocalFile)
{
    FakeProcessingServer opening(Serving(Page));
    UseServer(opening);
    ASSERT_TRUE(Start("http://localhost/page.html"));
    TypeAtStart("w");
    backend.AnswerMessageBox(2);  // Cancel
    EXPECT_FALSE(Document().SaveModified());
    EXPECT_EQ(LastMessage(), "Save changes to /var/www/html/page.html?");

    FakeProcessingServer saving(FakeServerScript{});
    UseServer(saving);
    backend.AnswerMessageBox(Yes);
    EXPECT_TRUE(Document().SaveModified());
    EXPECT_EQ(saving.Record().uploaded, "w" + Page);
    EXPECT_FALSE(std::filesystem::exists(Document().GetPathName())) << "nothing is written under the address";

    FakeServerScript refusing;
    refusing.firstPhase = "abort not now\n";
    FakeProcessingServer refusingServer(refusing);
    UseServer(refusingServer);
    backend.AnswerMessageBox(Yes);
    EXPECT_FALSE(Document().SaveModified()) << "a page the server refused stays open";
    EXPECT_EQ(LastMessage(), "failed to save /var/www/html/page.html: the server refused: not now");
}

TEST_F(RemotePageWindowTest, AFailedOpenSaysWhyAndLeavesNoTemporaryFile)
{
    struct Case {
        const char* address;
        std::string firstPhase;
        const char* message;
    };
    for (const Case& example :
         {Case{"http://localhost/gone.html", "commit\n",
               "failed to open /var/www/html/gone.html: failed to download file from server: file probably doesnt exist"},
          Case{"http://localhost/x.html", "nonsense\n",
               "failed to open /var/www/html/x.html: invalid server response in 1st protocol phase"},
          Case{"http://localhost:8080/x.html", "commit\n",
               "failed to open http://localhost:8080/x.html: the page address may not name a port"}}) {
        FakeServerScript script;
        script.firstPhase = example.firstPhase;
        FakeProcessingServer server(script);
        UseServer(server);
        backend.ClearRecords();
        EXPECT_FALSE(Start(example.address)) << example.address;
        EXPECT_EQ(LastMessage().rfind(example.message, 0), 0u) << LastMessage();
        EXPECT_FALSE(TemporaryFilesLeft()) << example.address;
        TearDown();
        SetUp();
    }
}

TEST_F(RemotePageWindowTest, AReadOnlyLocalPageIsEditedAndSavedOnlyWhenTheUserAgrees)
{
    const std::string path = directory / "page.html";
    WriteFile(path, Page);
    utils::SetReadOnly(path, utils::ReadOnlyFlag::Set);

    backend.AnswerMessageBox(No);
    ASSERT_TRUE(Start(path));
    EXPECT_EQ(LastMessage(), "File " + path + "\n is read only, edit anyway?");
    EXPECT_TRUE(Document().Buffer().IsReadOnly());
    TearDown();

    backend.ClearRecords();
    backend.AnswerMessageBox(Yes);
    ASSERT_TRUE(Start(path));
    EXPECT_FALSE(Document().Buffer().IsReadOnly());
    EXPECT_TRUE(utils::IsReadOnly(path)) << "the file on disk stays read-only";
    TypeAtStart("z");

    backend.AnswerMessageBox(No);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_SAVE));
    EXPECT_EQ(LastMessage(), "File " + path + "\nis read only, save anyway?");
    EXPECT_EQ(ReadFile(path), Page);
    backend.AnswerMessageBox(Yes);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_SAVE));
    EXPECT_EQ(ReadFile(path), "z" + Page);
    EXPECT_TRUE(utils::IsReadOnly(path));
}

}  // namespace
