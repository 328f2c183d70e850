#include "app/window/app_resource_ids.h"
#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "documents/html_doc.h"
#include "documents/html_view.h"
#include "documents/latex_command_ids.h"
#include "documents/latex_doc.h"
#include "documents/latex_view.h"
#include "platform/command_ids.h"
#include "platform/doc_template.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_window.h"
#include "platform/system_services.h"
#include "platform/virtual_keys.h"
#include "utils/non_regular_files.h"
#include "utils/test_scratch_directory.h"
#include "views/editor_command_ids.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using platform::headless::CellHeight;
using platform::headless::CellWidth;
using utils::testing::ReadFile;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;

constexpr int MarginWidth = 20;

class EditorWindowTest : public testing::Test {
protected:
    void TearDown() override
    {
        if (application != nullptr && application->m_pMainWnd != nullptr)
            application->m_pMainWnd->DestroyWindow();
        application.reset();
    }

    bool Start(const std::string& commandLine)
    {
        application = std::make_unique<CEditorApp>(commandLine);
        return application->InitInstance();
    }

    CMainFrame& Frame() { return *application->MainFrame(); }
    CQuillTextView& View() { return dynamic_cast<CQuillTextView&>(*Frame().GetActiveView()); }
    CLatexDoc& Document() { return dynamic_cast<CLatexDoc&>(*application->DocTemplate()->GetDocument()); }
    const platform::headless::HeadlessWindow& FramePeer() { return backend.Peer(Frame()); }
    std::string ViewText(int row, int count) { return backend.Screen(View()).TextAt({MarginWidth, row * CellHeight}, count); }
    COLORREF ViewTextColour(int column, int row)
    {
        return backend.Screen(View()).CellAt({MarginWidth + column * CellWidth + 1, row * CellHeight + 1}).textColour;
    }
    bool Enabled(UINT command)
    {
        const auto* entry = backend.OpenMenuEntry(Frame(), command);
        return entry != nullptr && entry->enabled;
    }
    void Type(const std::string& text)
    {
        std::int32_t endLine = 0;
        std::int32_t endChar = 0;
        ASSERT_TRUE(Document().Buffer().InsertText(nullptr, 0, 0, text, endLine, endChar, 4));
    }
    std::string LastMessage() const
    {
        return backend.MessageBoxes().empty() ? std::string() : backend.MessageBoxes().back().text;
    }

    platform::headless::HeadlessBackend backend;
    ScratchDirectory directory;
    std::unique_ptr<CEditorApp> application;
};

TEST_F(EditorWindowTest, CommandLineFileOpensInAColouredLatexView)
{
    const auto path = directory / "paper.tex";
    WriteFile(path, "\\section{Intro} text % note\n");
    ASSERT_TRUE(Start(path));
    EXPECT_TRUE(FramePeer().IsVisible());
    EXPECT_EQ(Document().GetPathName(), path);
    EXPECT_EQ(Frame().GetWindowText(), "paper.tex - Quillwright");
    EXPECT_EQ(ViewText(0, 27), "\\section{Intro} text % note");
    EXPECT_EQ(ViewTextColour(1, 0), RGB(0, 0, 255));
    EXPECT_EQ(ViewTextColour(17, 0), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ViewTextColour(23, 0), RGB(0, 128, 0));
}

TEST_F(EditorWindowTest, QuotedCommandLineNamesOneFileWithBlanks)
{
    std::filesystem::create_directory(directory / "my papers");
    const auto path = directory / "my papers/draft one.tex";
    WriteFile(path, "draft");
    ASSERT_TRUE(Start("\"" + path + "\""));
    EXPECT_EQ(Document().GetPathName(), path);
    EXPECT_EQ(ViewText(0, 5), "draft");
}

TEST_F(EditorWindowTest, EmptyCommandLineCreatesAnEmptyLatexDocument)
{
    ASSERT_TRUE(Start(""));
    EXPECT_EQ(Document().GetPathName(), "");
    EXPECT_EQ(Document().WholeText(), "");
    EXPECT_FALSE(Document().IsModified());
    EXPECT_FALSE(Document().m_bProcessing);
    EXPECT_EQ(Frame().GetWindowText(), "Untitled - Quillwright");
}

TEST_F(EditorWindowTest, HtmlPagesOpenInTheHtmlViewForTheWholeRun)
{
    for (const std::string name : {"page.HTML", "index.htm", "notes.html5"}) {
        const auto path = directory / name;
        WriteFile(path, "<b>bold</b>\n");
        ASSERT_TRUE(Start(path)) << name;
        EXPECT_NE(dynamic_cast<CHtmlView*>(Frame().GetActiveView()), nullptr) << name;
        EXPECT_NE(dynamic_cast<CHtmlDoc*>(application->DocTemplate()->GetDocument()), nullptr) << name;
        EXPECT_EQ(ViewTextColour(1, 0), RGB(128, 0, 128)) << name;
        // File New keeps the type.
        application->OnFileNew();
        EXPECT_NE(dynamic_cast<CHtmlDoc*>(application->DocTemplate()->GetDocument()), nullptr) << name;
        Frame().DestroyWindow();
        application.reset();
    }
}

TEST_F(EditorWindowTest, FileThatCannotBeOpenedEndsTheStart)
{
    const utils::testing::SpecialFiles specialFiles(directory.Path());
    std::vector<std::pair<std::string, std::string>> pathsAndReasons = {
        {directory / "absent.tex", "No such file or directory"}};
    for (const utils::testing::SpecialFile& file : specialFiles.All())
        pathsAndReasons.emplace_back(file.path, "It is " + file.kind + ", not a regular file.");
    for (const auto& [path, reason] : pathsAndReasons) {
        const std::size_t shown = backend.MessageBoxes().size();
        EXPECT_FALSE(Start(path)) << path;
        ASSERT_EQ(backend.MessageBoxes().size(), shown + 1) << path;
        EXPECT_EQ(LastMessage(), "Cannot open the file " + path + ":\n" + reason);
        application.reset();
    }
    EXPECT_FALSE(specialFiles.PipeReaderWasReleased()) << "the start waited on the named pipe";
}

TEST_F(EditorWindowTest, StatusBarHasItsSixPanesInOrder)
{
    ASSERT_TRUE(Start(""));
    const auto& panes = FramePeer().StatusPanes();
    ASSERT_EQ(panes.size(), 6u);
    EXPECT_EQ(panes[0].id, ID_SEPARATOR);
    EXPECT_EQ(panes[1].id, ID_INDICATOR_PROGRESS);
    EXPECT_EQ(panes[2].id, ID_INDICATOR_POSITION);
    EXPECT_EQ(panes[3].id, ID_INDICATOR_OVR);
    EXPECT_EQ(panes[4].id, ID_INDICATOR_CAPS);
    EXPECT_EQ(panes[5].id, ID_INDICATOR_PROBLEMS);
}

TEST_F(EditorWindowTest, PositionPaneShowsTheCaretLineAndColumn)
{
    ASSERT_TRUE(Start(""));
    backend.RunIdle();
    EXPECT_EQ(FramePeer().StatusPanes()[2].text, "Ln 1, Col 1");
    EXPECT_TRUE(FramePeer().StatusPanes()[2].enabled);
    // Caps Lock is off.
    EXPECT_FALSE(FramePeer().StatusPanes()[4].enabled);
}

TEST_F(EditorWindowTest, ToolbarAndMenuFollowTheResources)
{
    ASSERT_TRUE(Start(""));
    const auto& buttons = FramePeer().ToolButtons();
    ASSERT_EQ(buttons.size(), 28u);
    EXPECT_EQ(buttons[0].id, ID_FILE_NEW);
    EXPECT_EQ(buttons[3].id, ID_SEPARATOR);
    EXPECT_EQ(buttons[11].id, ID_OUTPUT_CREATE_POSTSCRIPT);
    EXPECT_EQ(buttons[27].id, ID_OUTPUT_VIEW_HTML);
    const platform::Menu* menu = FramePeer().MenuModel();
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> titles;
    for (const auto& popup : *menu)
        titles.push_back(popup.text);
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Edit", "&View", "&Insert", "&Output", "Preferences", "&Help"}));
    const auto* createHtml = backend.OpenMenuEntry(Frame(), ID_OUTPUT_CREATE_HTML);
    ASSERT_NE(createHtml, nullptr);
    EXPECT_EQ(createHtml->text, "Create &HTML Output");
}

TEST_F(EditorWindowTest, ShellCommandsAndToolButtonsHaveHandlers)
{
    ASSERT_TRUE(Start(""));
    for (const UINT command : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_APP_EXIT, ID_VIEW_TOOLBAR,
                               ID_VIEW_STATUS_BAR, ID_EDIT_DELETE, ID_INSERT_BOLD, ID_OPTIONS, ID_HELP_CONTENTS,
                               ID_APP_ABOUT})
        EXPECT_TRUE(Enabled(command)) << command;
    backend.RunIdle();
    for (const auto& button : FramePeer().ToolButtons()) {
        if (button.id == ID_FILE_SAVE || button.id == ID_INSERT_BOLD) {
            EXPECT_TRUE(button.enabled) << button.id;
        }
    }
}

TEST_F(EditorWindowTest, FileSaveWritesTheFileBackByteForByte)
{
    const std::string content = "\\documentclass{article}\r\n\t\\begin{document}\r\nH\xe9llo % x\r\n\r\nend";
    const auto path = directory / "bytes.tex";
    WriteFile(path, content);
    ASSERT_TRUE(Start(path));
    Type("% new\r");
    EXPECT_TRUE(Document().IsModified());
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_SAVE));
    EXPECT_EQ(ReadFile(path), "% new\r\n" + content);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_TRUE(backend.FileDialogs().empty());
}

TEST_F(EditorWindowTest, FrameKeyTableRunsTheFileCommands)
{
    const auto path = directory / "keys.tex";
    WriteFile(path, "abc");
    ASSERT_TRUE(Start(path));
    View().SetFocus();
    Type("1");
    backend.PressKey('S', {VK_CONTROL});
    EXPECT_EQ(ReadFile(path), "1abc");
    EXPECT_FALSE(Document().IsModified());

    WriteFile(directory / "other.tex", "other");
    backend.AnswerFileDialog(directory / "other.tex");
    backend.PressKey('O', {VK_CONTROL});
    EXPECT_EQ(Document().GetPathName(), directory / "other.tex");
    backend.PressKey('N', {VK_CONTROL});
    EXPECT_EQ(Document().GetPathName(), "");
}

TEST_F(EditorWindowTest, SaveAsAsksForTheNameAndOpensItThereafter)
{
    ASSERT_TRUE(Start(""));
    Type("fresh text");
    const auto path = directory / "new.tex";
    backend.AnswerFileDialog(path);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_SAVE_AS));
    EXPECT_EQ(ReadFile(path), "fresh text");
    EXPECT_EQ(Document().GetPathName(), path);
    EXPECT_EQ(Frame().GetWindowText(), "new.tex - Quillwright");
    // Saved under another name than it had: the document stays marked modified until saved again.
    EXPECT_TRUE(Document().IsModified());
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_SAVE));
    EXPECT_FALSE(Document().IsModified());
}

TEST_F(EditorWindowTest, SaveAsOverAnExistingFileAsksBeforeReplacingIt)
{
    const auto existing = directory / "existing.tex";
    WriteFile(existing, "keep me");
    ASSERT_TRUE(Start(""));
    Type("replacement");

    backend.AnswerFileDialog(existing);
    backend.AnswerMessageBox(IDNO);
    backend.AnswerFileDialog(std::nullopt);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_SAVE_AS));
    EXPECT_EQ(LastMessage(), existing + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(ReadFile(existing), "keep me");
    EXPECT_EQ(Document().GetPathName(), "");

    backend.AnswerFileDialog(existing);
    backend.AnswerMessageBox(IDYES);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_SAVE_AS));
    EXPECT_EQ(ReadFile(existing), "replacement");
    EXPECT_EQ(Document().GetPathName(), existing);
}

TEST_F(EditorWindowTest, NewAsksToSaveChangesFirst)
{
    const auto path = directory / "a.tex";
    WriteFile(path, "abc");
    ASSERT_TRUE(Start(path));
    Type("x");

    backend.AnswerMessageBox(IDCANCEL);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_NEW));
    EXPECT_EQ(LastMessage(), "Save changes to " + path + "?");
    EXPECT_EQ(Document().WholeText(), "xabc");

    backend.AnswerMessageBox(IDYES);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_NEW));
    EXPECT_EQ(ReadFile(path), "xabc");
    EXPECT_EQ(Document().WholeText(), "");
    EXPECT_EQ(Document().GetPathName(), "");
    EXPECT_EQ(ViewText(0, 4), "    ");
}

TEST_F(EditorWindowTest, OpenAndTheRecentFileList)
{
    WriteFile(directory / "one.tex", "first file");
    WriteFile(directory / "two.tex", "second file");
    ASSERT_TRUE(Start(directory / "one.tex"));
    backend.AnswerFileDialog(directory / "two.tex");
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_OPEN));
    EXPECT_EQ(ViewText(0, 11), "second file");

    // The settings live under the registry key "TVL" of the application "Quillwright".
    auto& values = backend.ProfileValues("TVL", "Quillwright");
    const auto entry = [&values](const char* key) { return values[std::make_pair("Recent File List", key)]; };
    EXPECT_EQ(entry("File1"), directory / "two.tex");
    EXPECT_EQ(entry("File2"), directory / "one.tex");

    const auto* recent = backend.OpenMenuEntry(Frame(), ID_FILE_MRU_FILE1 + 1);
    ASSERT_NE(recent, nullptr);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(ViewText(0, 10), "first file");
    EXPECT_EQ(Document().GetPathName(), directory / "one.tex");
}

TEST_F(EditorWindowTest, ExitAsksAboutChangesAndClosesTheFrame)
{
    ASSERT_TRUE(Start(""));
    Type("unsaved");
    backend.AnswerMessageBox(IDCANCEL);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_APP_EXIT));
    backend.PumpMessages();
    EXPECT_NE(application->m_pMainWnd, nullptr);
    EXPECT_FALSE(backend.QuitRequested());

    backend.AnswerMessageBox(IDNO);
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_APP_EXIT));
    backend.PumpMessages();
    EXPECT_EQ(application->m_pMainWnd, nullptr);
    EXPECT_TRUE(backend.QuitRequested());
}

TEST_F(EditorWindowTest, StatusTextsReachTheirPanes)
{
    ASSERT_TRUE(Start(""));
    const std::string progress = "Connecting...";
    Frame().SendMessage(WM_USER + 5, reinterpret_cast<WPARAM>(progress.c_str()), 1);
    EXPECT_EQ(FramePeer().StatusPanes()[1].text, progress);
    application->SetStatusText("", 1);
    EXPECT_EQ(FramePeer().StatusPanes()[1].text, "");

    Frame().SetMessageText("busy");
    application->SetStatusText("", 0);
    backend.PumpMessages();
    EXPECT_EQ(FramePeer().StatusPanes()[0].text, "Ready");
    Frame().SetMessageText("busy again");
    Frame().SendMessage(WM_USER + 5, reinterpret_cast<WPARAM>(""), 0);
    backend.PumpMessages();
    EXPECT_EQ(FramePeer().StatusPanes()[0].text, "Ready");
    EXPECT_EQ(Frame().SendMessage(WM_USER + 17, 1, 2), 0);
}

TEST_F(EditorWindowTest, FocusOnTheViewShowsTheIdleMessage)
{
    ASSERT_TRUE(Start(""));
    Frame().SetMessageText("something else");
    CWnd::ReportFocusChange(nullptr);
    View().SetFocus();
    backend.PumpMessages();
    EXPECT_EQ(FramePeer().StatusPanes()[0].text, "Ready");
}

TEST_F(EditorWindowTest, CursorKeysMoveTheCaretAndThePositionPaneFollows)
{
    // A Windows-1250 file counts bytes, a UTF-8 one characters: the same word gives the same column.
    struct Case {
        std::string bytes;
        const char* paneAfterEnd;
    };
    const std::vector<Case> cases{
        {"\\title{x}\n\\section{P\xC5\x99\xC3\xAD" "li\xC5\xA1}\n", "Ln 2, Col 17"},
        {"\\title{x}\n\\section{P\xF8\xEDli\x9A}\n", "Ln 2, Col 17"},
    };
    for (const Case& testCase : cases) {
        const auto path = directory / "keys.tex";
        WriteFile(path, testCase.bytes);
        ASSERT_TRUE(Start(path));
        View().SetFocus();
        backend.PressKey(VK_DOWN);
        backend.PressKey(VK_END);
        backend.RunIdle();
        EXPECT_EQ(FramePeer().StatusPanes()[2].text, testCase.paneAfterEnd) << testCase.bytes;
        backend.PressKey(VK_HOME, {VK_SHIFT});
        EXPECT_TRUE(View().HasSelection());
        backend.PressKey(VK_END, {VK_CONTROL});
        backend.RunIdle();
        EXPECT_EQ(FramePeer().StatusPanes()[2].text, "Ln 3, Col 1");
        TearDown();
    }
}

TEST_F(EditorWindowTest, ViewEncodingReadsTheSameBytesTheOtherWay)
{
    const auto path = directory / "legacy.tex";
    const std::string bytes = "caf\xE9 \xC3\xA9\n";
    WriteFile(path, bytes);
    ASSERT_TRUE(Start(path));
    EXPECT_TRUE(backend.OpenMenuEntry(Frame(), ID_VIEW_ENCODING_LEGACY)->checked);
    EXPECT_EQ(ViewText(0, 7), "caf\xE9 \xC3\xA9");
    View().SetFocus();
    backend.PressKey(VK_END);
    backend.RunIdle();
    EXPECT_EQ(FramePeer().StatusPanes()[2].text, "Ln 1, Col 8");

    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_VIEW_ENCODING_UTF8));
    EXPECT_TRUE(backend.OpenMenuEntry(Frame(), ID_VIEW_ENCODING_UTF8)->checked);
    EXPECT_FALSE(backend.OpenMenuEntry(Frame(), ID_VIEW_ENCODING_LEGACY)->checked);
    // The lone byte E9 is invalid UTF-8 and shows as a red mark; the sequence is one character.
    EXPECT_EQ(ViewText(0, 6), "caf\xEF\xBF\xBD \xC3\xA9");
    EXPECT_EQ(ViewTextColour(3, 0), RGB(255, 0, 0));
    backend.RunIdle();
    EXPECT_EQ(FramePeer().StatusPanes()[2].text, "Ln 1, Col 7");
    EXPECT_FALSE(Document().IsModified());
    ASSERT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_SAVE));
    EXPECT_EQ(ReadFile(path), bytes);
}

} // namespace

namespace {

TEST_F(EditorWindowTest, TheEditMenuNamesTheStepsAndTheOverwritePaneFollowsInsert)
{
    ASSERT_TRUE(Start(""));
    View().SetFocus();
    backend.Type("ab cd");
    EXPECT_EQ(backend.OpenMenuEntry(Frame(), ID_EDIT_UNDO)->text, "&Undo Typing\tCtrl+Z");
    backend.PressKey(VK_BACK, {VK_MENU});
    EXPECT_EQ(Document().WholeText(), "ab") << "Alt+Backspace undoes";
    EXPECT_EQ(backend.OpenMenuEntry(Frame(), ID_EDIT_REDO)->text, "&Redo Typing\tCtrl+Y");
    EXPECT_TRUE(backend.ChooseMenuCommand(Frame(), ID_EDIT_REDO));
    EXPECT_EQ(Document().WholeText(), "ab cd");

    backend.RunIdle();
    EXPECT_FALSE(FramePeer().StatusPanes()[3].enabled);
    backend.PressKey(VK_INSERT);
    backend.RunIdle();
    EXPECT_TRUE(FramePeer().StatusPanes()[3].enabled);
    EXPECT_EQ(FramePeer().StatusPanes()[3].text, "OVR");
    EXPECT_TRUE(backend.OpenMenuEntry(Frame(), ID_EDIT_SWITCH_OVRMODE)->checked);
    EXPECT_TRUE(backend.ChooseMenuCommand(Frame(), ID_EDIT_SWITCH_OVRMODE));
    backend.RunIdle();
    EXPECT_FALSE(FramePeer().StatusPanes()[3].enabled);
}

}  // namespace
