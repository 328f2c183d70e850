#include "platform_fixture.h"

#include "platform/file_dialog.h"
#include "utils/non_regular_files.h"

#include <sys/stat.h>

namespace platform_test {
namespace {

using platform::headless::UnscriptedInteraction;

class DocumentTemplateTest : public ApplicationTest {
protected:
    std::vector<std::string> MessageTexts()
    {
        std::vector<std::string> texts;
        for (const auto& box : backend.MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }
    const std::vector<std::string>& RecentFiles() { return application.RecentFileList()->Entries(); }
};

TEST_F(DocumentTemplateTest, NewDocumentIsUntitledUnmodifiedAndShownInTheFrameTitle)
{
    ASSERT_NE(application.OpenDocumentFile({}), nullptr);
    EXPECT_EQ(Document().GetTitle(), "Untitled");
    EXPECT_TRUE(Document().GetPathName().empty());
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(Frame().GetWindowText(), "Untitled - Test Editor");
    EXPECT_EQ(View().initialUpdates, 1);
    EXPECT_EQ(application.m_pMainWnd, &Frame());
}

TEST_F(DocumentTemplateTest, OpenReadsTheFileSetsPathTitleAndRecentFilesAndReusesTheObjects)
{
    const auto first = File("first.tex", "one");
    const auto second = File("second.tex", "two");
    ASSERT_NE(application.OpenDocumentFile(first.string()), nullptr);
    CDocument* document = &Document();
    CFrameWnd* frame = &Frame();
    EXPECT_EQ(Document().content, "one");
    EXPECT_EQ(Document().GetPathName(), first.string());
    EXPECT_EQ(Frame().GetWindowText(), "first.tex - Test Editor");

    ASSERT_NE(application.OpenDocumentFile(second.string()), nullptr);
    EXPECT_EQ(&Document(), document);
    EXPECT_EQ(&Frame(), frame);
    EXPECT_EQ(Document().content, "two");
    EXPECT_EQ(View().initialUpdates, 2);
    EXPECT_EQ(RecentFiles(), (std::vector<std::string>{second.string(), first.string()}));
}

TEST_F(DocumentTemplateTest, AFileThatCannotBeReadIsReportedAndLeavesTheOpenDocumentAlone)
{
    ASSERT_NE(application.OpenDocumentFile(File("kept.tex", "kept").string()), nullptr);
    Document().SetModifiedFlag(true);
    backend.AnswerMessageBox(IDNO);  // do not save the changes
    const auto missing = directory / "missing.tex";
    EXPECT_EQ(application.OpenDocumentFile(missing.string()), nullptr);
    ASSERT_EQ(backend.MessageBoxes().size(), 2u);
    EXPECT_EQ(backend.MessageBoxes()[1].text, "Cannot open the file " + missing.string() + ":\nNo such file or directory");
    EXPECT_EQ(backend.MessageBoxes()[1].caption, "Test Editor");
    EXPECT_EQ(Document().content, "kept");
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(Document().GetPathName(), (directory / "kept.tex").string());
}

TEST_F(DocumentTemplateTest, ALoadThatFailsAfterTheContentsWereClearedLeavesANewUntitledDocument)
{
    const auto kept = File("kept.tex", "kept");
    ASSERT_NE(application.OpenDocumentFile(kept.string()), nullptr);
    Document().failLoading = true;
    EXPECT_EQ(application.OpenDocumentFile(File("broken.tex", "x").string()), nullptr);
    // Saving now must not write the empty remains over the file that was open before.
    EXPECT_TRUE(Document().GetPathName().empty());
    EXPECT_EQ(Document().GetTitle(), "Untitled");
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(ReadFile(kept), "kept");
}

TEST_F(DocumentTemplateTest, AFileOpenedByARelativeNameIsKnownByItsFullPath)
{
    const auto file = File("relative.tex", "text");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(file.parent_path());
    CDocument* document = application.OpenDocumentFile("./relative.tex");
    std::filesystem::current_path(previous);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(Document().GetPathName(), std::filesystem::absolute(file).lexically_normal().string());
    EXPECT_EQ(Document().GetTitle(), "relative.tex");
    EXPECT_EQ(RecentFiles().front(), Document().GetPathName());
}

TEST_F(DocumentTemplateTest, TheSaveChangesQuestionDecidesWhetherTheDocumentIsReplaced)
{
    const auto path = File("paper.tex", "old");
    ASSERT_NE(application.OpenDocumentFile(path.string()), nullptr);
    Document().content = "edited";
    Document().SetModifiedFlag(true);

    backend.AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(application.OpenDocumentFile({}), nullptr);
    EXPECT_EQ(Document().content, "edited");
    EXPECT_EQ(backend.MessageBoxes().back().text, "Save changes to " + path.string() + "?");
    EXPECT_EQ(backend.MessageBoxes().back().style & MB_TYPEMASK, MB_YESNOCANCEL);

    backend.AnswerMessageBox(IDYES);
    EXPECT_NE(application.OpenDocumentFile({}), nullptr);
    EXPECT_EQ(ReadFile(path), "edited");
    EXPECT_EQ(Document().GetTitle(), "Untitled");
    EXPECT_TRUE(Document().content.empty());

    Document().content = "scratch";
    Document().SetModifiedFlag(true);
    backend.AnswerMessageBox(IDNO);
    EXPECT_NE(application.OpenDocumentFile({}), nullptr);
    EXPECT_TRUE(Document().content.empty());
}

TEST_F(DocumentTemplateTest, SavingANewDocumentAsksForANameAndWhetherToReplaceAnExistingFile)
{
    ASSERT_NE(application.OpenDocumentFile({}), nullptr);
    Document().content = "fresh";
    Document().SetModifiedFlag(true);
    const auto existing = File("existing.tex", "precious");
    const auto chosen = directory / "chosen.tex";

    backend.AnswerFileDialog(existing.string());
    backend.AnswerMessageBox(IDNO);  // do not replace: the dialog comes again
    backend.AnswerFileDialog(chosen.string());
    Frame().SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);

    EXPECT_EQ(ReadFile(existing), "precious");
    EXPECT_EQ(ReadFile(chosen), "fresh");
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{existing.string() + " already exists.\nDo you want to replace it?"});
    ASSERT_EQ(backend.FileDialogs().size(), 2u);
    EXPECT_EQ(backend.FileDialogs()[0].kind, platform::FileDialogKind::Save);
    EXPECT_EQ(backend.FileDialogs()[0].initialPath, "Untitled");
    EXPECT_EQ(Document().GetPathName(), chosen.string());
    EXPECT_EQ(Frame().GetWindowText(), "chosen.tex - Test Editor");
    EXPECT_EQ(RecentFiles().front(), chosen.string());
}

TEST_F(DocumentTemplateTest, SaveWritesUnderTheCurrentPathAndSaveAsAlwaysAsks)
{
    const auto path = File("paper.tex", "old");
    ASSERT_NE(application.OpenDocumentFile(path.string()), nullptr);
    Document().content = "new";
    Frame().SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_TRUE(backend.FileDialogs().empty());

    backend.AnswerFileDialog(std::nullopt);  // cancelled
    Frame().SendMessage(WM_COMMAND, ID_FILE_SAVE_AS, 0);
    EXPECT_EQ(backend.FileDialogs().back().initialPath, path.string());
    EXPECT_EQ(Document().GetPathName(), path.string());
}

TEST_F(DocumentTemplateTest, SavingAReadOnlyFileAsksForAnotherName)
{
    const auto path = File("locked.tex", "locked");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_NE(application.OpenDocumentFile(path.string()), nullptr);
    backend.AnswerFileDialog(std::nullopt);
    EXPECT_FALSE(Document().DoFileSave());
    EXPECT_EQ(backend.FileDialogs().size(), 1u);
}

TEST_F(DocumentTemplateTest, AFailedSaveKeepsTheDocumentModifiedAndItsName)
{
    ASSERT_NE(application.OpenDocumentFile({}), nullptr);
    Document().SetModifiedFlag(true);
    const auto unwritable = directory / "no-such-directory" / "file.tex";
    backend.AnswerFileDialog(unwritable.string());
    EXPECT_FALSE(Document().DoSave({}, SaveAs::Ask));
    EXPECT_TRUE(Document().IsModified());
    EXPECT_TRUE(Document().GetPathName().empty());
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Failed to save document:\n" + unwritable.string()});
}

TEST_F(DocumentTemplateTest, RecentFilesKeepFourEntriesNewestFirstInTheProfileAndTheFileMenu)
{
    std::vector<std::filesystem::path> files;
    for (const char* name : {"a.tex", "b.tex", "c.tex", "d.tex", "e.tex"}) {
        files.push_back(File(name, name));
        ASSERT_NE(application.OpenDocumentFile(files.back().string()), nullptr);
    }
    ASSERT_NE(application.OpenDocumentFile(files[2].string()), nullptr);
    EXPECT_EQ(RecentFiles(), (std::vector<std::string>{files[2].string(), files[4].string(), files[3].string(),
                                                       files[1].string()}));
    auto& stored = backend.ProfileValues("TVL", "Test Editor");
    EXPECT_EQ((stored[{"Recent File List", "File1"}]), files[2].string());
    EXPECT_EQ((stored[{"Recent File List", "File4"}]), files[1].string());

    const platform::MenuItem* second = backend.OpenMenuEntry(Frame(), ID_FILE_MRU_FILE1 + 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->text, "&2 " + files[4].string());
    const auto& fileMenu = Frame().GetMenu()[0].items;
    EXPECT_EQ(fileMenu.size(), 10u) << "four entries in place of the one";
    EXPECT_EQ(fileMenu[8].kind, platform::MenuItem::Kind::Separator);

    // Opening the menu again does not multiply the entries.
    backend.OpenMenuEntry(Frame(), ID_FILE_NEW);
    EXPECT_EQ(Frame().GetMenu()[0].items.size(), 10u);

    EXPECT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_MRU_FILE1 + 3));
    EXPECT_EQ(Document().content, "b.tex");
}

TEST_F(DocumentTemplateTest, AnEmptyRecentFileListShowsOneDisabledEntry)
{
    ASSERT_NE(application.OpenDocumentFile({}), nullptr);
    const platform::MenuItem* entry = backend.OpenMenuEntry(Frame(), ID_FILE_MRU_FILE1);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text, "Recent File");
    EXPECT_FALSE(entry->enabled);
}

TEST_F(DocumentTemplateTest, ARecentFileThatIsGoneIsDroppedButACancelledOpenKeepsIt)
{
    const auto gone = File("gone.tex", "gone");
    const auto kept = File("kept.tex", "kept");
    ASSERT_NE(application.OpenDocumentFile(gone.string()), nullptr);
    ASSERT_NE(application.OpenDocumentFile(kept.string()), nullptr);
    std::filesystem::remove(gone);

    EXPECT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(RecentFiles(), std::vector<std::string>{kept.string()});

    Document().SetModifiedFlag(true);
    backend.AnswerMessageBox(IDCANCEL);
    EXPECT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_MRU_FILE1));
    EXPECT_EQ(MessageTexts().back(), "Save changes to " + kept.string() + "?") << "the first entry runs its command too";
    EXPECT_EQ(RecentFiles(), std::vector<std::string>{kept.string()});
}

TEST_F(DocumentTemplateTest, RecentFilesAreReadBackByTheNextRun)
{
    backend.ProfileValues("TVL", "Test Editor")[{"Recent File List", "File1"}] = "/tmp/x.tex";
    backend.ProfileValues("TVL", "Test Editor")[{"Recent File List", "File2"}] = "/tmp/y.tex";
    application.LoadStdProfileSettings(4);
    EXPECT_EQ(RecentFiles(), (std::vector<std::string>{"/tmp/x.tex", "/tmp/y.tex"}));
}

TEST_F(DocumentTemplateTest, FileOpenAsksForAnExistingFile)
{
    ASSERT_NE(application.OpenDocumentFile({}), nullptr);
    const auto path = File("chosen.tex", "chosen");
    backend.AnswerFileDialog((directory / "typo.tex").string());
    backend.AnswerFileDialog(path.string());
    Frame().SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_EQ(Document().content, "chosen");
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{(directory / "typo.tex").string() +
                                                       "\nFile not found.\nCheck the file name and try again."});
    EXPECT_EQ(backend.FileDialogs().front().kind, platform::FileDialogKind::Open);
}

TEST_F(DocumentTemplateTest, ExitAsksToSaveAndClosesTheFrameOnlyWhenAllowed)
{
    ASSERT_NE(application.OpenDocumentFile({}), nullptr);
    Document().SetModifiedFlag(true);
    backend.AnswerMessageBox(IDCANCEL);
    Frame().SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
    backend.PumpMessages();
    EXPECT_NE(Frame().GetSafeHwnd(), nullptr);
    EXPECT_FALSE(backend.QuitRequested());

    backend.AnswerMessageBox(IDNO);
    Frame().SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
    backend.PumpMessages();
    EXPECT_EQ(Frame().GetSafeHwnd(), nullptr);
    EXPECT_EQ(application.m_pMainWnd, nullptr);
    EXPECT_TRUE(backend.QuitRequested());
}

TEST_F(DocumentTemplateTest, ShellCommandsOpenOrCreateAndReportFailure)
{
    CCommandLineInfo newFile;
    EXPECT_TRUE(application.ProcessShellCommand(newFile));
    CCommandLineInfo missing;
    missing.m_nShellCommand = CCommandLineInfo::FileOpen;
    missing.m_strFileName = (directory / "missing.tex").string();
    EXPECT_FALSE(application.ProcessShellCommand(missing));
    EXPECT_EQ(backend.MessageBoxes().size(), 1u);
}

TEST_F(DocumentTemplateTest, WhatIsNotARegularFileIsRefusedOnEveryWayOfOpening)
{
    enum class Way { CommandLine, FileOpen, RecentFile };
    const auto open = [this](Way way, const std::string& path) {
        switch (way) {
        case Way::CommandLine: {
            CCommandLineInfo commandLine;
            commandLine.m_nShellCommand = CCommandLineInfo::FileOpen;
            commandLine.m_strFileName = path;
            EXPECT_FALSE(application.ProcessShellCommand(commandLine));
            break;
        }
        case Way::FileOpen:
            backend.AnswerFileDialog(path);
            Frame().SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
            break;
        case Way::RecentFile:
            application.AddToRecentFileList(path);
            EXPECT_TRUE(backend.ChooseMenuCommand(Frame(), ID_FILE_MRU_FILE1));
            EXPECT_EQ(RecentFiles().front(), (directory / "kept.tex").string()) << "the entry is dropped";
            break;
        }
    };
    const auto kept = File("kept.tex", "kept");
    ASSERT_NE(application.OpenDocumentFile(kept.string()), nullptr);
    const utils::testing::SpecialFiles specialFiles(directory.string());
    for (const Way way : {Way::CommandLine, Way::FileOpen, Way::RecentFile}) {
        for (const utils::testing::SpecialFile& file : specialFiles.All()) {
            SCOPED_TRACE(file.path + " opened by way " + std::to_string(static_cast<int>(way)));
            const std::size_t shown = backend.MessageBoxes().size();
            open(way, file.path);
            ASSERT_EQ(backend.MessageBoxes().size(), shown + 1);
            EXPECT_EQ(backend.MessageBoxes().back().text,
                      "Cannot open the file " + file.path + ":\nIt is " + file.kind + ", not a regular file.");
            EXPECT_EQ(Document().content, "kept");
            EXPECT_EQ(Document().GetPathName(), kept.string());
        }
    }
    EXPECT_FALSE(specialFiles.PipeReaderWasReleased()) << "a reader waited on the named pipe";
}

TEST_F(DocumentTemplateTest, AnUnscriptedQuestionIsATestFailureNotASilentAnswer)
{
    ASSERT_NE(application.OpenDocumentFile({}), nullptr);
    Document().SetModifiedFlag(true);
    EXPECT_THROW(application.OpenDocumentFile({}), UnscriptedInteraction);
}

}  // namespace
}  // namespace platform_test

namespace platform_test {
namespace {

TEST_F(DocumentTemplateTest, FileOpenOffersAllFiles)
{
    backend.AnswerFileDialog(std::nullopt);
    application.OnFileOpen();
    ASSERT_EQ(backend.FileDialogs().size(), 1u);
    ASSERT_EQ(backend.FileDialogs()[0].filters.size(), 1u);
    EXPECT_EQ(backend.FileDialogs()[0].filters[0].description, "All Files");
    EXPECT_EQ(backend.FileDialogs()[0].filters[0].patterns, std::vector<std::string>{"*"});
}

}  // namespace
}  // namespace platform_test

namespace platform_test {
namespace {

TEST_F(DocumentTemplateTest, FileDialogFiltersAreReadFromTheirBarSeparatedForm)
{
    backend.AnswerFileDialog(std::nullopt);
    CFileDialog dialog(FileDialogPurpose::Open, "*.exe", "viewer", OFN_FILEMUSTEXIST,
                       "Executable files (*.exe)|*.exe|Scripts|*.sh;*.py||");
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    const auto& filters = backend.FileDialogs().at(0).filters;
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].description, "Executable files (*.exe)");
    EXPECT_EQ(filters[0].patterns, std::vector<std::string>{"*.exe"});
    EXPECT_EQ(filters[1].patterns, (std::vector<std::string>{"*.sh", "*.py"}));
    EXPECT_EQ(backend.FileDialogs()[0].initialPath, "viewer");
}

TEST_F(DocumentTemplateTest, SavingUnderANameWithoutExtensionAddsTheDefaultOne)
{
    backend.AnswerFileDialog((directory / "notes").string());
    CFileDialog dialog(FileDialogPurpose::Save, "tex", {}, OFN_OVERWRITEPROMPT);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetPathName(), (directory / "notes.tex").string());
}

}  // namespace
}  // namespace platform_test
