#include "platform/cmd_ui.h"
#include "platform/command_ids.h"
#include "platform/dialog.h"
#include "platform/headless/headless_backend.h"
#include "platform/resources.h"

#include <gtest/gtest.h>

namespace {

using platform::DialogItemKind;
using platform::headless::DialogDriver;
using platform::headless::HeadlessBackend;
using platform::headless::UnscriptedInteraction;

constexpr UINT ReplaceTemplate = 8602;
constexpr int FindEdit = 8605;
constexpr int ReplaceEdit = 8609;
constexpr int WholeWordBox = 8603;
constexpr int MatchCaseBox = 8604;
constexpr int SelectionRadio = 8613;
constexpr int WholeFileRadio = 8614;
constexpr int FindNextButton = 8610;

void RegisterReplaceTemplate()
{
    platform::resources::AddDialog(
        ReplaceTemplate,
        {"Replace",
         230,
         88,
         {{IDC_STATIC, DialogItemKind::Label, "Fi&nd what:", 4, 9, 48, 8, 0},
          {FindEdit, DialogItemKind::Edit, "", 54, 7, 114, 12, 0},
          {IDC_STATIC, DialogItemKind::Label, "Re&place with:", 4, 26, 48, 8, 0},
          {ReplaceEdit, DialogItemKind::Edit, "", 54, 24, 114, 12, 0},
          {WholeWordBox, DialogItemKind::CheckBox, "Match &whole word only", 5, 46, 91, 12, 0},
          {MatchCaseBox, DialogItemKind::CheckBox, "Match &case", 5, 62, 59, 12, 0},
          {IDC_STATIC, DialogItemKind::GroupBox, "Replace in", 97, 43, 71, 37, 0},
          {SelectionRadio, DialogItemKind::RadioButton, "&Selection", 102, 54, 59, 10, WS_GROUP},
          {WholeFileRadio, DialogItemKind::RadioButton, "Wh&ole file", 102, 66, 58, 10, 0},
          {FindNextButton, DialogItemKind::DefaultPushButton, "&Find Next", 174, 4, 50, 14, 0},
          {IDCANCEL, DialogItemKind::PushButton, "Cancel", 174, 55, 50, 14, 0},
          {IDOK, DialogItemKind::PushButton, "OK", 174, 72, 50, 14, 0}}});
}

// A dialog with data exchange for every kind of member, and a button that changes with the edit.
class ReplaceDialog : public CDialog {
public:
    ReplaceDialog() : CDialog(ReplaceTemplate)
    {
        MapNotification(FindEdit, EN_CHANGE, [this] { UpdateFindNext(); });
        MapCommand(FindNextButton, [this] {
            UpdateData(DataDirection::FromControls);
            searches.push_back(findText);
        });
    }

    std::string findText;
    std::string replaceText;
    int matchCase = 0;
    int wholeWord = 0;
    int scope = -1;
    std::vector<std::string> searches;

protected:
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        UpdateFindNext();
        return true;
    }
    void DoDataExchange(CDataExchange* exchange) override
    {
        DDX_Text(exchange, FindEdit, findText);
        DDX_Text(exchange, ReplaceEdit, replaceText);
        DDX_Check(exchange, MatchCaseBox, matchCase);
        DDX_Check(exchange, WholeWordBox, wholeWord);
        DDX_Radio(exchange, SelectionRadio, scope);
    }

private:
    void UpdateFindNext() { GetDlgItem(FindNextButton)->EnableWindow(!GetDlgItemText(FindEdit).empty()); }
    std::string GetDlgItemText(int id)
    {
        std::string text;
        CWnd::GetDlgItemText(id, text);
        return text;
    }
};

class DialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterReplaceTemplate();
        dialog.findText = "alpha";
        dialog.replaceText = "beta";
        dialog.matchCase = 1;
        dialog.scope = 1;
    }

    HeadlessBackend backend;
    ReplaceDialog dialog;
};

TEST_F(DialogTest, MembersReachTheControlsWhenTheDialogStarts)
{
    backend.ScriptDialog(ReplaceTemplate, [](DialogDriver& driver) {
        EXPECT_EQ(driver.Text(FindEdit), "alpha");
        EXPECT_EQ(driver.Text(ReplaceEdit), "beta");
        EXPECT_TRUE(driver.IsChecked(MatchCaseBox));
        EXPECT_FALSE(driver.IsChecked(WholeWordBox));
        EXPECT_FALSE(driver.IsChecked(SelectionRadio));
        EXPECT_TRUE(driver.IsChecked(WholeFileRadio));
        EXPECT_EQ(driver.Dialog().GetWindowText(), "Replace");
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, OkTakesTheControlsBackAndCancelLeavesTheMembers)
{
    backend.ScriptDialog(ReplaceTemplate, [](DialogDriver& driver) {
        driver.SetText(FindEdit, "gamma");
        driver.Click(MatchCaseBox);
        driver.Click(WholeWordBox);
        driver.Click(SelectionRadio);
        EXPECT_FALSE(driver.IsChecked(WholeFileRadio)) << "radio buttons of a group exclude each other";
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.findText, "alpha");
    EXPECT_EQ(dialog.scope, 1);

    backend.ScriptDialog(ReplaceTemplate, [](DialogDriver& driver) {
        driver.SetText(FindEdit, "gamma");
        driver.Click(MatchCaseBox);
        driver.Click(WholeWordBox);
        driver.Click(SelectionRadio);
        driver.Click(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.findText, "gamma");
    EXPECT_EQ(dialog.matchCase, 0);
    EXPECT_EQ(dialog.wholeWord, 1);
    EXPECT_EQ(dialog.scope, 0);
}

TEST_F(DialogTest, EditChangesAndButtonsReachTheDialogsHandlers)
{
    dialog.findText.clear();
    backend.ScriptDialog(ReplaceTemplate, [](DialogDriver& driver) {
        EXPECT_FALSE(driver.IsEnabled(FindNextButton));
        EXPECT_THROW(driver.Click(FindNextButton), std::logic_error);
        driver.SetText(FindEdit, "x");
        EXPECT_TRUE(driver.IsEnabled(FindNextButton));
        driver.Click(FindNextButton);
        driver.SetText(FindEdit, "");
        EXPECT_FALSE(driver.IsEnabled(FindNextButton));
        driver.Click(IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.searches, std::vector<std::string>{"x"});
}

TEST_F(DialogTest, ControlsArePlacedInDialogUnits)
{
    backend.ScriptDialog(ReplaceTemplate, [](DialogDriver& driver) {
        CRect rect;
        driver.Dialog().GetDlgItem(FindEdit)->GetWindowRect(&rect);
        CRect expected(54, 7, 168, 19);
        driver.Dialog().MapDialogRect(&expected);
        EXPECT_EQ(rect, expected);
        EXPECT_EQ(expected, CRect(108, 14, 336, 38)) << "8 x 16 pixel cells: two pixels per dialog unit";
        driver.Click(IDCANCEL);
    });
    dialog.DoModal();
}

TEST_F(DialogTest, ARadioGroupWithNothingCheckedGivesMinusOne)
{
    dialog.scope = -1;
    backend.ScriptDialog(ReplaceTemplate, [](DialogDriver& driver) {
        EXPECT_FALSE(driver.IsChecked(SelectionRadio));
        EXPECT_FALSE(driver.IsChecked(WholeFileRadio));
        driver.Click(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.scope, -1);
}

TEST_F(DialogTest, ADialogLeftOpenOrNotScriptedFailsTheTest)
{
    EXPECT_THROW(dialog.DoModal(), UnscriptedInteraction);
    backend.ScriptDialog(ReplaceTemplate, [](DialogDriver&) {});
    EXPECT_THROW(dialog.DoModal(), UnscriptedInteraction);
}

TEST_F(DialogTest, AMissingTemplateIsReported)
{
    CDialog missing(4711);
    EXPECT_EQ(missing.DoModal(), -1);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].text, "The program has no dialog 4711.");
}

TEST(RadioGroups, AGroupRunsFromItsFirstButtonToTheNextGroupOrOtherControl)
{
    platform::DialogTemplate dialog{"", 10, 10,
                                    {{1, DialogItemKind::RadioButton, "", 0, 0, 0, 0, WS_GROUP},
                                     {2, DialogItemKind::RadioButton, "", 0, 0, 0, 0, 0},
                                     {3, DialogItemKind::RadioButton, "", 0, 0, 0, 0, WS_GROUP},
                                     {4, DialogItemKind::Edit, "", 0, 0, 0, 0, 0},
                                     {5, DialogItemKind::RadioButton, "", 0, 0, 0, 0, 0}}};
    EXPECT_EQ(platform::RadioGroupStart(dialog, 1), 0u);
    EXPECT_EQ(platform::RadioGroupStart(dialog, 2), 2u);
    EXPECT_EQ(platform::RadioGroupStart(dialog, 4), 4u);
    EXPECT_EQ(platform::RadioGroupMembers(dialog, 0), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(platform::RadioGroupMembers(dialog, 2), std::vector<std::size_t>{2});
}

}  // namespace
