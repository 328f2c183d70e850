#include "buffer/document/quill_edit_doc.h"
#include "buffer/undo_action.h"
#include "platform/headless/headless_backend.h"
#include "platform/message_box.h"
#include "utils/file_size_limit.h"
#include "utils/message_box.h"
#include "utils/test_scratch_directory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

using utils::testing::ReadFile;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;

// A document as the application holds it: its messages appear as the application's message boxes.
class EditDocTest : public testing::Test {
protected:
    void SetUp() override
    {
        utils::SetMessageBoxHandler([](const std::string& text, unsigned int style) {
            return AfxMessageBox(text, style);
        });
    }
    void TearDown() override { utils::SetMessageBoxHandler({}); }

    void Type(const std::string& text, TextPosition at = {0, 0})
    {
        std::int32_t endLine = 0;
        std::int32_t endChar = 0;
        ASSERT_TRUE(document.Buffer().InsertText(nullptr, at.line, at.character, text, endLine, endChar,
                                                 UndoAction::Typing));
    }

    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& request : backend.MessageBoxes())
            texts.push_back(request.text);
        return texts;
    }

    platform::headless::HeadlessBackend backend;
    ScratchDirectory directory;
    CQuillEditDoc document;
};

TEST_F(EditDocTest, NewDocumentIsOneEmptyUnmodifiedLine)
{
    ASSERT_TRUE(document.OnNewDocument());
    EXPECT_EQ(document.Buffer().LineCount(), 1);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.WholeText(), "");
    EXPECT_EQ(document.GetPathName(), "");
}

TEST_F(EditDocTest, WholeTextJoinsLinesWithCarriageReturnLineFeed)
{
    for (const std::string content : {"first\nsecond", "first\r\nsecond", "first\n\rsecond"}) {
        const auto path = directory / "two.tex";
        WriteFile(path, content);
        ASSERT_TRUE(document.OnOpenDocument(path));
        EXPECT_EQ(document.WholeText(), "first\r\nsecond") << content;
    }
    WriteFile(directory / "ends.tex", "a\n");
    ASSERT_TRUE(document.OnOpenDocument(directory / "ends.tex"));
    EXPECT_EQ(document.WholeText(), "a\r\n");
}

TEST_F(EditDocTest, EveryChangeMarksTheDocumentModified)
{
    WriteFile(directory / "a.tex", "text\n");
    ASSERT_TRUE(document.OnOpenDocument(directory / "a.tex"));
    EXPECT_FALSE(document.IsModified());
    Type("x");
    EXPECT_TRUE(document.IsModified());
    document.SetModifiedFlag(false);
    Type("y");
    EXPECT_TRUE(document.IsModified());
    // The buffer never keeps a modified state of its own.
    EXPECT_FALSE(document.Buffer().IsModified());
}

TEST_F(EditDocTest, SavingUnderTheDocumentsPathClearsTheModifiedFlag)
{
    const auto path = directory / "a.tex";
    WriteFile(path, "one\ntwo\n");
    ASSERT_TRUE(document.OnOpenDocument(path));
    document.SetPathName(path, RecentFiles::Leave);
    Type("new ");
    ASSERT_TRUE(document.DoFileSave());
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(ReadFile(path), "new one\ntwo\n");

    // Back to the saved text by undo: still marked modified.
    Type("x");
    TextPosition caret;
    ASSERT_TRUE(document.Buffer().Undo(caret));
    EXPECT_EQ(document.WholeText(), "new one\r\ntwo\r\n");
    EXPECT_TRUE(document.IsModified());
}

TEST_F(EditDocTest, FirstSaveOfANewDocumentKeepsItModifiedUntilSavedAgain)
{
    ASSERT_TRUE(document.OnNewDocument());
    Type("fresh");
    const auto path = directory / "fresh.tex";
    ASSERT_TRUE(document.DoSave(path, SaveAs::UseGivenPath));
    EXPECT_EQ(ReadFile(path), "fresh");
    EXPECT_EQ(document.GetPathName(), path);
    EXPECT_TRUE(document.IsModified());

    ASSERT_TRUE(document.DoFileSave());
    EXPECT_FALSE(document.IsModified());
}

TEST_F(EditDocTest, SaveUnderAnotherNameKeepsTheModifiedFlag)
{
    const auto path = directory / "a.tex";
    WriteFile(path, "abc");
    ASSERT_TRUE(document.OnOpenDocument(path));
    document.SetPathName(path, RecentFiles::Leave);
    Type("1");
    ASSERT_TRUE(document.OnSaveDocument(directory / "copy.tex"));
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(ReadFile(directory / "copy.tex"), "1abc");
    EXPECT_EQ(ReadFile(path), "abc");
}

TEST_F(EditDocTest, FailedSaveShowsTheSystemErrorAndKeepsTheDocumentModified)
{
    ASSERT_TRUE(document.OnNewDocument());
    Type("text");
    EXPECT_FALSE(document.OnSaveDocument(directory / "missing/a.tex"));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{std::string("Failed to save document:\n") + std::strerror(ENOENT)});
    EXPECT_TRUE(document.IsModified());
    EXPECT_FALSE(std::filesystem::exists(directory / "missing"));
}

TEST_F(EditDocTest, AFailedRewriteOfAHardLinkedFileNamesTheBackupWithTheOldText)
{
    const std::string path = directory / "a.tex";
    WriteFile(path, "old text");
    std::filesystem::create_hard_link(path, directory / "b.tex");
    ASSERT_TRUE(document.OnOpenDocument(path));
    document.SetPathName(path, RecentFiles::Leave);
    Type(std::string(300000, 'x'));
    bool saved = true;
    {
        utils::testing::FileSizeLimit limit(100000);
        saved = document.OnSaveDocument(path);
    }
    EXPECT_FALSE(saved);
    const std::string backup = document.Buffer().KeptBackupPath();
    ASSERT_FALSE(backup.empty());
    EXPECT_EQ(ReadFile(backup), "old text");
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{std::string("Failed to save document:\n") + std::strerror(EFBIG) +
                                                       "\nThe file may be incomplete. Its previous content is kept in\n" +
                                                       backup});
    EXPECT_TRUE(document.IsModified());
}

TEST_F(EditDocTest, SaveOverSomethingTheSystemWillNotReplaceLeavesItUnchanged)
{
    // A directory in place of the file cannot be replaced by a file.
    const auto target = directory / "target.tex";
    std::filesystem::create_directory(target);
    WriteFile(target + "/inside.txt", "kept");
    ASSERT_TRUE(document.OnNewDocument());
    Type("new text");
    document.SetPathName(target, RecentFiles::Leave);
    EXPECT_FALSE(document.DoFileSave());
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_TRUE(MessageTexts()[0].starts_with("Failed to save document:\n")) << MessageTexts()[0];
    EXPECT_GT(MessageTexts()[0].size(), std::strlen("Failed to save document:\n"));
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(ReadFile(target + "/inside.txt"), "kept");
    EXPECT_TRUE(document.IsModified());
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.Path()), {}), 1);
}

TEST_F(EditDocTest, OpeningAMissingFileIsReportedByTheFrameworkAndKeepsTheText)
{
    WriteFile(directory / "a.tex", "kept");
    ASSERT_TRUE(document.OnOpenDocument(directory / "a.tex"));
    EXPECT_FALSE(document.OnOpenDocument(directory / "nothing.tex"));
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find("nothing.tex"), std::string::npos);
    EXPECT_EQ(document.WholeText(), "kept");
}

TEST_F(EditDocTest, FileThatOpensButCannotBeReadIsReported)
{
    // Opening this file succeeds; reading from its start fails.
    EXPECT_FALSE(document.OnOpenDocument("/proc/self/mem"));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{std::string("Failed to open document:\n") + std::strerror(EIO)});
}

TEST_F(EditDocTest, OpeningReplacesTheTextAndClearsTheModifiedFlag)
{
    ASSERT_TRUE(document.OnNewDocument());
    Type("old");
    WriteFile(directory / "b.tex", "\\section{B}\n");
    ASSERT_TRUE(document.OnOpenDocument(directory / "b.tex"));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.WholeText(), "\\section{B}\r\n");
    EXPECT_FALSE(document.Buffer().CanUndo());
}

} // namespace
