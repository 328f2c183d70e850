#include "view_fixture.h"

#include "platform/command_ids.h"
#include "platform/headless/dialog_driver.h"
#include "views/search_dialog_templates.h"

#include <algorithm>
#include <functional>

namespace views_test {
namespace {

using namespace search_dialogs;
using platform::headless::DialogDriver;

class ReplaceTest : public EditViewFixture {
protected:
    void Replace(std::function<void(DialogDriver&)> script)
    {
        backend.ScriptDialog(ReplaceTemplateId, std::move(script));
        Command(ID_EDIT_REPLACE);
    }
    // Types the texts and checks exactly the given boxes.
    static void Fill(DialogDriver& dialog, const std::string& find, const std::string& replace, std::initializer_list<int> boxes = {})
    {
        dialog.SetText(FindTextEdit, find);
        dialog.SetText(ReplaceTextEdit, replace);
        for (int box : {WholeWordBox, MatchCaseBox, RegularExpressionBox}) {
            const bool wanted = std::find(boxes.begin(), boxes.end(), box) != boxes.end();
            if (dialog.IsChecked(box) != wanted)
                dialog.Click(box);
        }
    }
    std::size_t Messages() const { return backend.MessageBoxes().size(); }
    std::string LastMessage() const { return backend.MessageBoxes().empty() ? std::string() : backend.MessageBoxes().back().text; }
    std::string UndoName()
    {
        std::string name;
        buffer.UndoDescription(name);
        return name;
    }
};

TEST_F(ReplaceTest, ScopeFollowsTheSelectionWhenTheDialogOpens)
{
    SetText("one two");
    std::vector<std::string> states;
    const auto record = [&states](DialogDriver& dialog) {
        states.push_back(std::string(dialog.IsChecked(SelectionRadio) ? "selection" : "")
                         + (dialog.IsChecked(WholeFileRadio) ? "file" : "") + (dialog.IsEnabled(SelectionRadio) ? "" : " only"));
        dialog.Click(IDCANCEL);
    };
    Replace(record);
    view->SelectRange({0, 0}, {3, 0});
    Replace(record);
    EXPECT_EQ(states, (std::vector<std::string>{"file only", "selection"}));
}

TEST_F(ReplaceTest, ReplaceFindsFirstThenReplacesAndMovesOn)
{
    SetText("cat dog cat");
    Replace([this](DialogDriver& dialog) {
        Fill(dialog, "cat", "mouse");
        dialog.Click(ReplaceButton);
        EXPECT_EQ(Text(), "cat dog cat");
        EXPECT_EQ(Selection(), std::make_pair(TextPosition{0, 0}, TextPosition{3, 0}));
        dialog.Click(ReplaceButton);
        EXPECT_EQ(Text(), "mouse dog cat");
        EXPECT_EQ(Selection(), std::make_pair(TextPosition{10, 0}, TextPosition{13, 0}));
        dialog.Click(ReplaceFindNextButton);
        EXPECT_EQ(LastMessage(), "Cannot find string\"cat\"");
        dialog.Click(ReplaceFindNextButton);
        EXPECT_EQ(Selection(), std::make_pair(TextPosition{10, 0}, TextPosition{13, 0})) << "starts over from the top";
        dialog.Click(IDCANCEL);
    });
    EXPECT_EQ(UndoName(), "Replace");
}

TEST_F(ReplaceTest, ReplaceAllIsOneUndoStepAndEndsWithNotFound)
{
    SetText("Foo foo\nfood FOO");
    Replace([](DialogDriver& dialog) {
        Fill(dialog, "foo", "bar", {WholeWordBox});
        dialog.Click(ReplaceAllButton);
        dialog.Click(IDCANCEL);
    });
    EXPECT_EQ(Text(), "bar bar\nfood bar");
    EXPECT_EQ(LastMessage(), "Cannot find string\"foo\"");
    EXPECT_EQ(Messages(), 1u);
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_EQ(UndoName(), "Replace All");
    TextPosition caret;
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(Text(), "Foo foo\nfood FOO");
}

TEST_F(ReplaceTest, ReplaceAllOfManyOccurrencesIsUndoneAtOnce)
{
    std::string text;
    for (int line = 0; line < 800; ++line)
        text += "aa bb aa\n";
    SetText(text);
    Replace([](DialogDriver& dialog) {
        Fill(dialog, "aa", "c");
        dialog.Click(ReplaceAllButton);
        dialog.Click(IDCANCEL);
    });
    EXPECT_EQ(Text().substr(0, 16), "c bb c\nc bb c\nc ");
    EXPECT_EQ(UndoSteps(), 1) << "more than the 1024 groups the history keeps";
    TextPosition caret;
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_EQ(Text(), text);
}

TEST_F(ReplaceTest, ReplaceAllInASelectionStaysInsideIt)
{
    SetText("aa aa aa\naa aa aa");
    view->SelectRange({3, 0}, {5, 1});
    Replace([](DialogDriver& dialog) {
        Fill(dialog, "aa", "bbbb");
        dialog.Click(ReplaceAllButton);
        dialog.Click(IDCANCEL);
    });
    EXPECT_EQ(Text(), "aa bbbb bbbb\nbbbb bbbb aa");
    EXPECT_EQ(Selection(), std::make_pair(TextPosition{3, 0}, TextPosition{9, 1})) << "the block as changed";
}

TEST_F(ReplaceTest, ReplacementsWithLineBreaksKeepTheBlock)
{
    SetText("x=1 y=2\nz=3 w=4");
    view->SelectRange({4, 0}, {3, 1});
    Replace([](DialogDriver& dialog) {
        Fill(dialog, "(\\w)=(\\d)", "$2\\n$1", {RegularExpressionBox});
        dialog.Click(ReplaceAllButton);
        dialog.Click(IDCANCEL);
    });
    EXPECT_EQ(Text(), "x=1 2\ny\n3\nz w=4");
    EXPECT_EQ(Selection(), std::make_pair(TextPosition{4, 0}, TextPosition{1, 3}));
}

TEST_F(ReplaceTest, EmptyMatchesAdvanceAndEnd)
{
    struct Case {
        const char* name;
        std::string text;
        std::string find;
        std::string replace;
        std::initializer_list<int> boxes;
        std::string expected;
    };
    const Case cases[] = {
        {"empty pattern", "abc\nd", "x*", "-", {RegularExpressionBox}, "-a-b-c-\n-d-"},
        {"line ends", "ab\n\nc", "$", ";", {RegularExpressionBox}, "ab;\n;\nc;"},
        {"empty texts", "abc", "", "", {}, "abc"},
        {"empty find text", "ab", "", "_", {}, "_a_b"},
        {"captures", "k1=v1, k2=v2", "(\\w+)=(\\w+)", "$2:$1", {RegularExpressionBox}, "v1:k1, v2:k2"},
        {"anchors", "ab\nab", "^a", "A", {RegularExpressionBox}, "Ab\nAb"},
    };
    for (const auto& testCase : cases) {
        SetText(testCase.text);
        Replace([&testCase](DialogDriver& dialog) {
            Fill(dialog, testCase.find, testCase.replace, testCase.boxes);
            dialog.Click(ReplaceAllButton);
            dialog.Click(IDCANCEL);
        });
        EXPECT_EQ(Text(), testCase.expected) << testCase.name;
    }
}

TEST_F(ReplaceTest, InvalidPatternChangesNothing)
{
    SetText("a+b");
    Replace([this](DialogDriver& dialog) {
        Fill(dialog, "+", "plus", {RegularExpressionBox});
        dialog.Click(ReplaceAllButton);
        EXPECT_EQ(LastMessage().rfind("The regular expression \"+\" is not valid:\nquantifier does not follow a repeatable item", 0), 0u)
            << LastMessage();
        dialog.Click(ReplaceButton);
        dialog.Click(IDCANCEL);
    });
    EXPECT_EQ(Text(), "a+b");
    EXPECT_FALSE(buffer.CanUndo());
}

TEST_F(ReplaceTest, SettingsAreRememberedEvenWhenCancelled)
{
    SetText("text");
    Replace([](DialogDriver& dialog) {
        Fill(dialog, "find me", "put me", {MatchCaseBox, RegularExpressionBox});
        dialog.Click(IDCANCEL);
    });
    EXPECT_EQ((Profile()[{"QuillEdit\\Replace", "FindWhat"}]), "find me");
    EXPECT_EQ((Profile()[{"QuillEdit\\Replace", "ReplaceWith"}]), "put me");
    EXPECT_EQ((Profile()[{"QuillEdit\\Replace", "MatchCase"}]), "1");
    EXPECT_EQ((Profile()[{"QuillEdit\\Replace", "WholeWord"}]), "0");
    EXPECT_EQ((Profile()[{"QuillEdit\\Replace", "RegularExpression"}]), "1");
    std::string shown;
    Replace([&shown](DialogDriver& dialog) {
        shown = dialog.Text(FindTextEdit) + "|" + dialog.Text(ReplaceTextEdit) + (dialog.IsChecked(MatchCaseBox) ? "|case" : "");
        dialog.Click(IDCANCEL);
    });
    EXPECT_EQ(shown, "find me|put me|case");
}

TEST_F(ReplaceTest, ViewWithoutABufferOpensNoDialog)
{
    view->BindBuffer(nullptr);
    // An unscripted dialog would throw.
    EXPECT_NO_THROW(Command(ID_EDIT_REPLACE));
}

}  // namespace
}  // namespace views_test
