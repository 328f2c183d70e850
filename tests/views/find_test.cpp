#include "view_fixture.h"

#include "platform/command_ids.h"
#include "platform/headless/dialog_driver.h"
#include "platform/virtual_keys.h"
#include "views/editor_command_ids.h"
#include "views/search_dialog_templates.h"
#include "views/search_flags.h"
#include "views/text_search.h"

namespace views_test {
namespace {

using namespace SearchFlags;
using namespace search_dialogs;
using platform::headless::DialogDriver;

class FindTest : public TextViewFixture {
protected:
    std::optional<FoundText> Search(const std::string& text, TextPosition start, std::uint32_t flags, SearchWrap wrap)
    {
        FoundText found;
        if (!view->SearchText(text, start, flags, wrap, found))
            return std::nullopt;
        return found;
    }
    // Runs the Find dialog: types `text` (unless null), sets the options and presses Find Next.
    void FindWithDialog(const char* text, std::initializer_list<int> boxesToClick = {})
    {
        backend.ScriptDialog(FindTemplateId, [text, boxesToClick](DialogDriver& dialog) {
            if (text != nullptr)
                dialog.SetText(FindTextEdit, text);
            for (int box : boxesToClick)
                dialog.Click(box);
            dialog.Click(IDOK);
            // After "not found" the dialog stays open.
            if (!dialog.Dialog().IsEnding())
                dialog.Click(IDCANCEL);
        });
        Command(ID_EDIT_FIND);
    }
    std::string LastMessage() const
    {
        return backend.MessageBoxes().empty() ? std::string() : backend.MessageBoxes().back().text;
    }
};

TEST_F(FindTest, SearchFindsWithEachOptionAndWrapsOnce)
{
    SetText("abc Foo abc\nxab ab\nFOO foo_bar\nlast");
    struct Case {
        const char* name;
        std::string text;
        TextPosition start;
        std::uint32_t flags;
        SearchWrap wrap;
        std::optional<FoundText> expected;
    };
    const Case cases[] = {
        {"down from the start", "abc", {0, 0}, FindMatchCase, SearchWrap::No, FoundText{{0, 0}, 3}},
        {"down from the caret", "abc", {1, 0}, FindMatchCase, SearchWrap::No, FoundText{{8, 0}, 3}},
        {"case folded", "foo", {0, 0}, 0, SearchWrap::No, FoundText{{4, 0}, 3}},
        {"case kept", "FOO", {0, 0}, FindMatchCase, SearchWrap::No, FoundText{{0, 2}, 3}},
        {"whole word", "ab", {0, 0}, FindWholeWord, SearchWrap::No, FoundText{{4, 1}, 2}},
        {"whole word skips foo_bar", "foo", {1, 2}, FindWholeWord, SearchWrap::No, std::nullopt},
        {"only above the caret, no wrap", "xab", {0, 3}, 0, SearchWrap::No, std::nullopt},
        {"only above the caret, wrap", "xab", {0, 3}, 0, SearchWrap::Yes, FoundText{{0, 1}, 3}},
        {"up takes the nearest to the left", "abc", {11, 0}, FindDirectionUp, SearchWrap::No, FoundText{{8, 0}, 3}},
        {"up from the match start", "abc", {8, 0}, FindDirectionUp, SearchWrap::No, FoundText{{0, 0}, 3}},
        {"up wraps to the last line", "last", {0, 0}, FindDirectionUp, SearchWrap::Yes, FoundText{{0, 3}, 4}},
        {"pattern", "f\\w+_", {0, 0}, FindRegularExpression, SearchWrap::No, FoundText{{4, 2}, 4}},
        {"pattern anchored at a line start", "^ab", {0, 0}, FindRegularExpression, SearchWrap::No, FoundText{{0, 0}, 2}},
        {"pattern anchored, not inside a line", "^abc", {1, 0}, FindRegularExpression, SearchWrap::No, std::nullopt},
        {"pattern at the start of a later line", "^l", {1, 0}, FindRegularExpression, SearchWrap::No, FoundText{{0, 3}, 1}},
    };
    for (const auto& testCase : cases)
        EXPECT_EQ(Search(testCase.text, testCase.start, testCase.flags, testCase.wrap), testCase.expected) << testCase.name;
}

TEST_F(FindTest, RangeSearchKeepsMatchesInsideTheRange)
{
    SetText("one two one two\none");
    FoundText found;
    EXPECT_TRUE(view->SearchTextInRange("two", {0, 0}, {4, 0}, {15, 0}, 0, SearchWrap::No, found));
    EXPECT_EQ(found, (FoundText{{4, 0}, 3}));
    EXPECT_FALSE(view->SearchTextInRange("two", {8, 0}, {4, 0}, {14, 0}, 0, SearchWrap::No, found))
        << "a match crossing the range end lies outside";
    EXPECT_FALSE(view->SearchTextInRange("one", {0, 0}, {3, 0}, {3, 0}, 0, SearchWrap::Yes, found));
    EXPECT_TRUE(view->SearchTextInRange("one", {0, 0}, {1, 0}, {0, 1}, 0, SearchWrap::No, found));
    EXPECT_EQ(found, (FoundText{{8, 0}, 3})) << "a start before the range searches from the range begin";
}

TEST_F(FindTest, FindNextWalksThroughTheMatchesAndWraps)
{
    SetText("abc abc");
    EXPECT_FALSE(IsEnabled(ID_EDIT_REPEAT));
    EXPECT_FALSE(IsEnabled(ID_EDIT_FIND_PREVIOUS));
    FindWithDialog("abc", {MatchCaseBox});
    EXPECT_EQ(Selection(), std::make_pair(TextPosition{0, 0}, TextPosition{3, 0}));
    EXPECT_EQ(view->CaretPos(), (TextPosition{3, 0}));
    EXPECT_TRUE(IsEnabled(ID_EDIT_REPEAT));
    backend.PressKey(VK_F3);
    EXPECT_EQ(Selection(), std::make_pair(TextPosition{4, 0}, TextPosition{7, 0}));
    backend.PressKey(VK_F3);
    EXPECT_EQ(Selection(), std::make_pair(TextPosition{0, 0}, TextPosition{3, 0}));
    backend.PressKey(VK_F3, {VK_SHIFT});
    EXPECT_EQ(Selection(), std::make_pair(TextPosition{4, 0}, TextPosition{7, 0})) << "previous wraps to the end";
    backend.PressKey(VK_F3, {VK_SHIFT});
    EXPECT_EQ(Selection(), std::make_pair(TextPosition{0, 0}, TextPosition{3, 0}));
    EXPECT_TRUE(backend.MessageBoxes().empty());
}

TEST_F(FindTest, FindNextMovesPastEmptyMatches)
{
    SetText("ab\ncd");
    FindWithDialog("$", {RegularExpressionBox});
    EXPECT_EQ(view->CaretPos(), (TextPosition{2, 0}));
    backend.PressKey(VK_F3);
    EXPECT_EQ(view->CaretPos(), (TextPosition{2, 1}));
    backend.PressKey(VK_F3);
    EXPECT_EQ(view->CaretPos(), (TextPosition{2, 0})) << "wrapped";
    EXPECT_TRUE(backend.MessageBoxes().empty());
}

TEST_F(FindTest, NotFoundSaysSoAndLeavesTheSelection)
{
    SetText("alpha beta");
    view->SelectFoundText({0, 0}, 5);
    FindWithDialog("gamma");
    EXPECT_EQ(LastMessage(), "Cannot find string\"gamma\"");
    EXPECT_EQ(Selection(), std::make_pair(TextPosition{0, 0}, TextPosition{5, 0}));
    backend.PressKey(VK_F3);
    EXPECT_EQ(backend.MessageBoxes().size(), 2u);
}

TEST_F(FindTest, DialogStartsOverFromTheTopAfterAFailure)
{
    SetText("target here\nnothing");
    view->SetCaretPos({0, 1});
    backend.ScriptDialog(FindTemplateId, [](DialogDriver& dialog) {
        dialog.SetText(FindTextEdit, "target");
        // Down from the caret, with wrapping, the match above is found.
        dialog.Click(IDOK);
    });
    Command(ID_EDIT_FIND);
    EXPECT_EQ(Selection(), std::make_pair(TextPosition{0, 0}, TextPosition{6, 0}));

    backend.ScriptDialog(FindTemplateId, [this](DialogDriver& dialog) {
        dialog.SetText(FindTextEdit, "here");
        dialog.Click(MatchCaseBox);
        dialog.SetText(FindTextEdit, "HERE");
        dialog.Click(IDOK);
        EXPECT_EQ(LastMessage(), "Cannot find string\"HERE\"");
        dialog.Click(MatchCaseBox);
        dialog.Click(IDOK);
    });
    Command(ID_EDIT_FIND);
    EXPECT_EQ(Selection(), std::make_pair(TextPosition{7, 0}, TextPosition{11, 0}));
}

TEST_F(FindTest, DialogIsFilledFromTheProfileTheLastSearchAndAOneLineSelection)
{
    SetText("first line\nsecond line");
    Profile()[{"QuillEdit\\Find", "FindWhat"}] = "remembered";
    Profile()[{"QuillEdit\\Find", "MatchCase"}] = "1";
    Profile()[{"QuillEdit\\Find", "RegularExpression"}] = "1";
    std::vector<std::string> shown;
    const auto record = [&shown](DialogDriver& dialog) {
        shown.push_back(dialog.Text(FindTextEdit) + (dialog.IsChecked(MatchCaseBox) ? " case" : "")
                        + (dialog.IsChecked(WholeWordBox) ? " word" : "") + (dialog.IsChecked(RegularExpressionBox) ? " pattern" : "")
                        + (dialog.IsChecked(UpRadio) ? " up" : " down") + (dialog.IsEnabled(IDOK) ? "" : " disabled"));
    };
    backend.ScriptDialog(FindTemplateId, [&](DialogDriver& dialog) {
        record(dialog);
        dialog.Click(WholeWordBox);
        dialog.Click(UpRadio);
        dialog.SetText(FindTextEdit, "");
        record(dialog);
        dialog.SetText(FindTextEdit, "line");
        dialog.Click(IDCANCEL);
    });
    Command(ID_EDIT_FIND);
    EXPECT_EQ((Profile()[{"QuillEdit\\Find", "FindWhat"}]), "line") << "Cancel keeps what was typed";
    EXPECT_EQ((Profile()[{"QuillEdit\\Find", "WholeWord"}]), "1");

    view->SelectRange({0, 1}, {6, 1});
    backend.ScriptDialog(FindTemplateId, [&](DialogDriver& dialog) {
        record(dialog);
        dialog.Click(IDCANCEL);
    });
    Command(ID_EDIT_FIND);
    view->SelectRange({0, 0}, {6, 1});
    backend.ScriptDialog(FindTemplateId, [&](DialogDriver& dialog) {
        record(dialog);
        dialog.Click(IDCANCEL);
    });
    Command(ID_EDIT_FIND);
    EXPECT_EQ(shown, (std::vector<std::string>{"remembered case pattern down", " case word pattern up disabled",
                                               "second case word pattern up", "second case word pattern up"}));
}

TEST_F(FindTest, InvalidPatternIsReportedAndChangesNothing)
{
    SetText("a(b");
    view->SetCaretPos({1, 0});
    backend.ScriptDialog(FindTemplateId, [this](DialogDriver& dialog) {
        dialog.SetText(FindTextEdit, "a(");
        dialog.Click(RegularExpressionBox);
        dialog.Click(IDOK);
        EXPECT_EQ(LastMessage(), "The regular expression \"a(\" is not valid:\nmissing closing parenthesis (at offset 2).");
        dialog.Click(RegularExpressionBox);
        dialog.Click(IDOK);
    });
    Command(ID_EDIT_FIND);
    EXPECT_EQ(Selection(), std::make_pair(TextPosition{0, 0}, TextPosition{2, 0})) << "found after wrapping";
    EXPECT_EQ(Text(), "a(b");
}

}  // namespace
}  // namespace views_test
