#include "buffer_test_support.h"

#include "buffer/undo_action.h"
#include "buffer/update_hint.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

namespace {

using buffer_test::Fill;
using buffer_test::Lines;
using buffer_test::RecordingView;
using testing::ElementsAre;
using testing::Pair;
using namespace std::string_literals;

// Counts the calls of the modified hook, as the editor document's buffer sees them.
class ObservedBuffer : public CQuillTextBuffer {
public:
    void SetModified(bool modified) override
    {
        calls.push_back(modified);
        CQuillTextBuffer::SetModified(modified);
    }
    std::vector<bool> calls;
};

class UndoTest : public testing::Test {
protected:
    TextPosition Insert(std::int32_t line, std::int32_t character, std::string_view text,
                        std::int32_t action = UndoAction::Typing, BufferView* source = nullptr)
    {
        TextPosition end;
        EXPECT_TRUE(buffer.InsertText(source, line, character, text, end.line, end.character, action));
        return end;
    }

    void Delete(TextPosition start, TextPosition end, std::int32_t action = UndoAction::Delete)
    {
        EXPECT_TRUE(buffer.DeleteText(nullptr, start.line, start.character, end.line, end.character, action));
    }

    int UndoAll()
    {
        int steps = 0;
        TextPosition caret;
        while (buffer.CanUndo()) {
            buffer.Undo(caret);
            ++steps;
        }
        return steps;
    }

    std::string UndoText()
    {
        std::string text = "untouched";
        buffer.UndoDescription(text);
        return text;
    }

    std::string RedoText()
    {
        std::string text = "untouched";
        buffer.RedoDescription(text);
        return text;
    }

    ObservedBuffer buffer;
};

TEST_F(UndoTest, GroupsDecideHowManyStepsTheEditsTake)
{
    struct GroupingCase {
        const char* what;
        std::vector<std::optional<UndoGroupMerge>> groups;  // one edit each; none: outside any group
        int steps;
    };
    const GroupingCase cases[] = {
        {"each edit outside a group is one step", {std::nullopt, std::nullopt, std::nullopt}, 3},
        {"edits inside one group are one step", {UndoGroupMerge::NewGroup}, 1},
        {"a merging group joins the previous one; the first had nothing to join and started one",
         {UndoGroupMerge::JoinPrevious, UndoGroupMerge::JoinPrevious}, 1},
        {"new groups stay apart", {UndoGroupMerge::NewGroup, UndoGroupMerge::NewGroup}, 2},
    };
    for (const GroupingCase& testCase : cases) {
        SCOPED_TRACE(testCase.what);
        Fill(buffer, {""});
        std::int32_t character = 0;
        for (const std::optional<UndoGroupMerge>& group : testCase.groups) {
            if (group)
                buffer.OpenUndoGroup(*group);
            // Three edits in a group, one outside.
            for (int edit = 0; edit < (group ? 3 : 1); ++edit, ++character)
                Insert(0, character, "a");
            if (group)
                buffer.CloseUndoGroup(nullptr);
        }
        EXPECT_EQ(UndoAll(), testCase.steps);
        EXPECT_THAT(Lines(buffer), ElementsAre(""));
    }
}

TEST_F(UndoTest, UndoReplaysAGroupBackwardsAndRedoForwards)
{
    Fill(buffer, {"Hello world"});
    buffer.OpenUndoGroup(UndoGroupMerge::NewGroup);
    Delete({0, 0}, {5, 0}, UndoAction::Replace);
    Insert(0, 0, "Goodbye\r\ncruel", UndoAction::Replace);
    Delete({5, 1}, {6, 1}, UndoAction::Replace);
    buffer.CloseUndoGroup(nullptr);
    const std::vector<std::string> edited = Lines(buffer);
    EXPECT_THAT(edited, ElementsAre("Goodbye", "cruelworld"));

    TextPosition caret;
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_THAT(Lines(buffer), ElementsAre("Hello world"));
    EXPECT_EQ(caret, (TextPosition{5, 0})) << "end of the text the first deletion removed";
    ASSERT_TRUE(buffer.Redo(caret));
    EXPECT_EQ(Lines(buffer), edited);
    EXPECT_EQ(caret, (TextPosition{5, 1})) << "start of the last deletion";
    EXPECT_FALSE(buffer.CanRedo());
}

TEST_F(UndoTest, CaretPositionsAfterUndoAndRedo)
{
    Fill(buffer, {"abcdef"});
    Insert(0, 2, "XY");
    TextPosition caret;
    buffer.Undo(caret);
    EXPECT_EQ(caret, (TextPosition{2, 0})) << "undone insertion: its start";
    buffer.Redo(caret);
    EXPECT_EQ(caret, (TextPosition{4, 0})) << "redone insertion: its end";

    Delete({1, 0}, {3, 0});
    buffer.Undo(caret);
    EXPECT_EQ(caret, (TextPosition{3, 0})) << "undone deletion: end of the re-inserted text";
    buffer.Redo(caret);
    EXPECT_EQ(caret, (TextPosition{1, 0})) << "redone deletion: its start";
}

TEST_F(UndoTest, UndoAndRedoNotifyEveryViewWithoutASource)
{
    Fill(buffer, {"abc", "def"});
    RecordingView view;
    buffer.AttachView(&view);
    Delete({1, 0}, {2, 1});
    view.notifications.clear();
    TextPosition caret;
    buffer.Undo(caret);
    ASSERT_EQ(view.notifications.size(), 1u);
    EXPECT_EQ(view.notifications[0].source, nullptr);
    EXPECT_EQ(view.notifications[0].hints, UpdateHint::LineWidthChanged | UpdateHint::LineCountChanged);
    EXPECT_TRUE(view.editNotifications.empty());
}

TEST_F(UndoTest, ANewEditDropsTheRedoTail)
{
    Fill(buffer, {""});
    Insert(0, 0, "a");
    Insert(0, 1, "b");
    Insert(0, 2, "c");
    TextPosition caret;
    buffer.Undo(caret);
    buffer.Undo(caret);
    EXPECT_TRUE(buffer.CanRedo());
    Insert(0, 1, "z");
    EXPECT_FALSE(buffer.CanRedo());
    EXPECT_THAT(Lines(buffer), ElementsAre("az"));
    EXPECT_EQ(UndoAll(), 2);
}

TEST_F(UndoTest, UndoWithNothingToUndoIsAProgrammingError)
{
    Fill(buffer, {"x"});
    TextPosition caret;
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(buffer.CanRedo());
    EXPECT_THROW(buffer.Undo(caret), std::invalid_argument);
    EXPECT_THROW(buffer.Redo(caret), std::invalid_argument);
}

TEST_F(UndoTest, TheOldestGroupIsDroppedAtTheLimit)
{
    Fill(buffer, {""});
    buffer.OpenUndoGroup(UndoGroupMerge::NewGroup);
    Insert(0, 0, "a");
    Insert(0, 1, "b");
    Insert(0, 2, "c");
    buffer.CloseUndoGroup(nullptr);
    for (int index = 0; index < 1021; ++index) {
        Insert(0, 3, "x");
    }
    EXPECT_EQ(UndoAll(), 1022) << "1024 records, nothing dropped yet";
    TextPosition caret;
    while (buffer.CanRedo()) {
        buffer.Redo(caret);
    }
    Insert(0, 3, "y");
    EXPECT_EQ(UndoAll(), 1022) << "the three-record group made room for the new record";
    EXPECT_THAT(Lines(buffer), ElementsAre("abc"));
}

TEST_F(UndoTest, AGroupLargerThanTheLimitIsKeptWholeUntilTheNextGroup)
{
    Fill(buffer, {""});
    Insert(0, 0, "a");
    buffer.OpenUndoGroup(UndoGroupMerge::NewGroup);
    for (int index = 0; index < 1100; ++index) {
        Insert(0, index + 1, "x");
    }
    buffer.CloseUndoGroup(nullptr);
    EXPECT_EQ(UndoAll(), 1) << "the older group made room; the large one is undone whole";
    EXPECT_EQ(buffer.LineLength(0), 1) << "every edit of the group undone, the dropped older one stays";
    TextPosition caret;
    buffer.Redo(caret);
    EXPECT_EQ(buffer.LineLength(0), 1101);
    Insert(0, 0, "y");
    EXPECT_EQ(UndoAll(), 1) << "the next group dropped the large one, which had passed the limit";
    EXPECT_EQ(buffer.LineLength(0), 1101);
}

TEST_F(UndoTest, RemovedTextComesBackByteForByte)
{
    // A line-feed file whose lines hold carriage returns and NUL bytes of their own: re-inserting the
    // removed text as typed text would break lines at those carriage returns.
    const std::string bytes = "plain\ncr\rinside\nends with cr\r\n\r\nnul\0byte\r\r\nlast"s;
    buffer_test::TemporaryDirectory directory;
    buffer_test::WriteBytes(directory.File("mixed.tex"), bytes);
    ASSERT_TRUE(buffer.LoadFile(directory.File("mixed.tex"), LineEndingStyle::Automatic));
    ASSERT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::Lf);
    const std::vector<std::string> original = Lines(buffer);
    ASSERT_EQ(original.size(), 6u);

    Delete({3, 1}, {1, 4});
    EXPECT_THAT(Lines(buffer), ElementsAre("plain", "cr\rul\0byte\r\r"s, "last"));
    Delete({1, 1}, {4, 1});
    Delete({0, 0}, {0, 1});
    EXPECT_THAT(Lines(buffer), ElementsAre("cl\0byte\r\r"s, "last"));
    EXPECT_EQ(UndoAll(), 3);
    EXPECT_EQ(Lines(buffer), original);

    TextPosition caret;
    buffer.Redo(caret);
    buffer.Redo(caret);
    buffer.Undo(caret);
    buffer.Undo(caret);
    EXPECT_EQ(Lines(buffer), original);
    ASSERT_TRUE(buffer.SaveFile(directory.File("mixed.tex"), SaveMode::ClearModified));
    EXPECT_EQ(buffer_test::ReadBytes(directory.File("mixed.tex")), bytes);
}

TEST_F(UndoTest, DescriptionsComeFromTheFirstRecordOfTheGroup)
{
    Fill(buffer, {"text"});
    EXPECT_EQ(UndoText(), "");
    EXPECT_EQ(RedoText(), "");

    buffer.OpenUndoGroup(UndoGroupMerge::NewGroup);
    Insert(0, 0, "pasted", UndoAction::Paste);
    Insert(0, 0, "x", UndoAction::AutoIndent);
    buffer.CloseUndoGroup(nullptr);
    EXPECT_EQ(UndoText(), "Paste");

    TextPosition caret;
    buffer.Undo(caret);
    EXPECT_EQ(RedoText(), "Paste");
    EXPECT_EQ(UndoText(), "");

    Insert(0, 0, "y", UndoAction::Delete);
    EXPECT_EQ(UndoText(), "Delete");
    Insert(0, 0, "z", 15);
    EXPECT_EQ(UndoText(), "") << "a code without a description";
}

TEST_F(UndoTest, ActionDescriptionsFollowTheStringTable)
{
    const std::vector<std::pair<std::int32_t, std::string>> expected = {
        {UndoAction::Unknown, "Unknown"},     {UndoAction::Paste, "Paste"},
        {UndoAction::DeleteSelection, "Delete Selection"}, {UndoAction::Cut, "Cut"},
        {UndoAction::Typing, "Typing"},       {UndoAction::Backspace, "Backspace"},
        {UndoAction::Indent, "Indent"},       {UndoAction::DragAndDrop, "Drag And Drop"},
        {UndoAction::Replace, "Replace"},     {UndoAction::Delete, "Delete"},
        {UndoAction::AutoIndent, "Auto Indent"}, {UndoAction::ReplaceAll, "Replace All"}};
    for (const auto& [action, description] : expected) {
        std::string text;
        EXPECT_TRUE(buffer.ActionDescription(action, text));
        EXPECT_EQ(text, description) << "action " << action;
    }
    for (std::int32_t action : {-1, 12, 15, 16}) {
        std::string text = "kept";
        EXPECT_FALSE(buffer.ActionDescription(action, text));
        EXPECT_EQ(text, "kept");
    }
}

TEST_F(UndoTest, ClosingAGroupWithASourceViewCallsItsEditNotify)
{
    Fill(buffer, {""});
    RecordingView view;
    Insert(0, 0, "\r\n", UndoAction::Typing, &view);
    EXPECT_THAT(view.editNotifications, ElementsAre(Pair(UndoAction::Typing, "\r\n")));

    buffer.OpenUndoGroup(UndoGroupMerge::NewGroup);
    Insert(1, 0, "a", UndoAction::Paste, &view);
    Insert(1, 1, "b", UndoAction::Cut, &view);
    EXPECT_EQ(view.editNotifications.size(), 1u) << "not while the group is open";
    buffer.CloseUndoGroup(&view);
    EXPECT_THAT(view.editNotifications.back(), Pair(UndoAction::Cut, "b"));
}

// Indents the new line as the editable view does when a line end is typed.
class IndentingView : public RecordingView {
public:
    explicit IndentingView(CQuillTextBuffer& buffer) : m_buffer(buffer) {}
    void EditNotify(std::int32_t action, std::string_view text) override
    {
        RecordingView::EditNotify(action, text);
        std::int32_t endLine = 0;
        std::int32_t endChar = 0;
        m_buffer.InsertText(this, m_buffer.LineCount() - 1, 0, "    ", endLine, endChar, UndoAction::AutoIndent);
    }

private:
    CQuillTextBuffer& m_buffer;
};

TEST_F(UndoTest, EditsMadeFromEditNotifyFormTheirOwnGroup)
{
    Fill(buffer, {"    code"});
    IndentingView view(buffer);
    Insert(0, 8, "\r\n", UndoAction::Typing, &view);
    EXPECT_THAT(Lines(buffer), ElementsAre("    code", "    "));
    EXPECT_EQ(view.editNotifications.size(), 1u) << "the indentation did not notify again";
    EXPECT_EQ(UndoText(), "Auto Indent");

    TextPosition caret;
    buffer.Undo(caret);
    EXPECT_THAT(Lines(buffer), ElementsAre("    code", ""));
    EXPECT_EQ(UndoText(), "Typing");
    buffer.Undo(caret);
    EXPECT_THAT(Lines(buffer), ElementsAre("    code"));
}

TEST_F(UndoTest, UndoingBackToTheSavedStateClearsTheModifiedState)
{
    buffer_test::TemporaryDirectory directory;
    Fill(buffer, {"saved"});
    Insert(0, 0, "a");
    ASSERT_TRUE(buffer.SaveFile(directory.File("file.tex"), SaveMode::ClearModified));
    EXPECT_FALSE(buffer.IsModified());
    buffer.calls.clear();

    Insert(0, 0, "b");
    EXPECT_TRUE(buffer.IsModified());
    TextPosition caret;
    buffer.Undo(caret);
    EXPECT_FALSE(buffer.IsModified());
    buffer.Undo(caret);
    EXPECT_TRUE(buffer.IsModified()) << "before the saved state";
    buffer.Redo(caret);
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_THAT(buffer.calls, ElementsAre(true, false, true, false));
}

TEST_F(UndoTest, SavingWithoutClearingKeepsTheModifiedState)
{
    buffer_test::TemporaryDirectory directory;
    Fill(buffer, {"text"});
    Insert(0, 0, "a");
    ASSERT_TRUE(buffer.SaveFile(directory.File("copy.tex"), SaveMode::KeepModified));
    EXPECT_TRUE(buffer.IsModified());
    TextPosition caret;
    buffer.Undo(caret);
    EXPECT_FALSE(buffer.IsModified()) << "back at the loaded state";
}

TEST_F(UndoTest, ASavedStateLostWithTheRedoTailIsNeverReportedAgain)
{
    buffer_test::TemporaryDirectory directory;
    Fill(buffer, {""});
    Insert(0, 0, "a");
    Insert(0, 1, "b");
    ASSERT_TRUE(buffer.SaveFile(directory.File("file.tex"), SaveMode::ClearModified));
    TextPosition caret;
    buffer.Undo(caret);
    buffer.Undo(caret);
    Insert(0, 0, "x");
    Insert(0, 1, "y");
    EXPECT_THAT(Lines(buffer), ElementsAre("xy"));
    buffer.Undo(caret);
    buffer.Redo(caret);
    EXPECT_TRUE(buffer.IsModified()) << "\"xy\" is not what was saved";
}

TEST_F(UndoTest, TheSavedStateFollowsTheRecordsWhenTheOldestGroupIsDropped)
{
    buffer_test::TemporaryDirectory directory;
    Fill(buffer, {""});
    Insert(0, 0, "s");
    ASSERT_TRUE(buffer.SaveFile(directory.File("file.tex"), SaveMode::ClearModified));
    for (int index = 0; index < 1024; ++index) {
        Insert(0, 1, "x");
    }
    UndoAll();
    EXPECT_THAT(Lines(buffer), ElementsAre("s"));
    EXPECT_FALSE(buffer.IsModified()) << "the dropped edit lay before the saved state";
}

TEST_F(UndoTest, ASavedStateDroppedAtTheLimitIsNeverReportedAgain)
{
    buffer_test::TemporaryDirectory directory;
    Fill(buffer, {""});
    ASSERT_TRUE(buffer.SaveFile(directory.File("file.tex"), SaveMode::ClearModified));
    for (int index = 0; index < 1025; ++index) {
        Insert(0, 0, "x");
    }
    TextPosition caret;
    while (buffer.CanUndo()) {
        buffer.Undo(caret);
        EXPECT_TRUE(buffer.IsModified()) << "the text never returns to the saved one";
    }
    EXPECT_THAT(Lines(buffer), ElementsAre("x"));
}

TEST_F(UndoTest, AReadOnlyBufferRefusesEditsAndKeepsItsUndoList)
{
    buffer_test::TemporaryDirectory directory;
    const std::string path = directory.File("locked.tex");
    buffer_test::WriteBytes(path, "fixed\ntext");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    ASSERT_TRUE(buffer.LoadFile(path, LineEndingStyle::Automatic));
    ASSERT_TRUE(buffer.IsReadOnly());
    RecordingView view;
    buffer.AttachView(&view);

    std::int32_t endLine = -1;
    std::int32_t endChar = -1;
    EXPECT_FALSE(buffer.InsertText(&view, 0, 0, "x", endLine, endChar, UndoAction::Typing));
    EXPECT_FALSE(buffer.DeleteText(&view, 0, 0, 1, 1, UndoAction::Delete));
    EXPECT_FALSE(buffer.RawInsertText(&view, 0, 0, "x", endLine, endChar));
    EXPECT_FALSE(buffer.RawDeleteText(&view, 0, 0, 0, 1));
    EXPECT_THAT(Lines(buffer), ElementsAre("fixed", "text"));
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_TRUE(view.notifications.empty());
    EXPECT_TRUE(view.editNotifications.empty());
}

}  // namespace
