#include "platform_fixture.h"

#include "platform/accelerators.h"
#include "platform/input.h"
#include "platform/virtual_keys.h"

namespace platform_test {
namespace {

constexpr UINT ViewTable = 5100;
constexpr UINT SecondViewTable = 5101;

// A view with two key tables of its own, tried before the frame's, in order.
class KeyTableView : public RecordingView {
public:
    KeyTableView()
    {
        MapCommand(ID_EDIT_SELECT_ALL, [this] { Record("select all"); });
        MapCommand(42000, [this] { Record("inline math"); });
        MapCommand(42001, [this] { Record("bold"); });
    }
    bool PreTranslateMessage(MSG* message) override
    {
        if (message->message < WM_KEYFIRST || message->message > WM_KEYLAST)
            return false;
        for (UINT table : {ViewTable, SecondViewTable}) {
            if (TranslateAccelerator(GetSafeHwnd(), LoadAccelerators(table), message) != 0)
                return true;
        }
        return false;
    }
};

class KeyboardTest : public ApplicationTest {
protected:
    void SetUp() override
    {
        platform::resources::AddAccelerators(ViewTable, {{FVIRTKEY | FCONTROL, 'A', ID_EDIT_SELECT_ALL}});
        platform::resources::AddAccelerators(SecondViewTable, {{FVIRTKEY | FCONTROL, 'A', 42000},
                                                               {FVIRTKEY | FCONTROL, 'B', 42001},
                                                               {FVIRTKEY | FCONTROL, 'N', 42001}});
        docTemplate = application.AddDocTemplate(std::make_unique<CSingleDocTemplate>(
            TemplateResource, RuntimeClassOf<TextDocument, CDocument>(), RuntimeClassOf<RecordingFrame, CFrameWnd>(),
            RuntimeClassOf<KeyTableView, CView>()));
        ASSERT_NE(docTemplate->OpenDocumentFile({}), nullptr);
        ASSERT_EQ(CWnd::GetFocus(), &View());
    }
};

TEST_F(KeyboardTest, TheViewsTablesComeFirstInOrderAndTheFramesTableLast)
{
    backend.PressKey('A', {VK_CONTROL});
    backend.PressKey('B', {VK_CONTROL});
    backend.PressKey('N', {VK_CONTROL});
    EXPECT_EQ(Journal(), (std::vector<std::string>{"select all", "bold", "bold"}))
        << "Ctrl+A is the first table's, Ctrl+N the view's before the frame's";
}

TEST_F(KeyboardTest, ModifiersMustMatchExactly)
{
    backend.PressKey('V', {VK_CONTROL});
    EXPECT_TRUE(Journal().empty());
    backend.PressKey('V', {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(Journal(), std::vector<std::string>{"view"});
    backend.PressKey('V', {VK_CONTROL, VK_SHIFT, VK_MENU});
    EXPECT_EQ(Journal().size(), 1u);
}

TEST_F(KeyboardTest, ATranslatedKeyIsConsumedEvenWhenItsCommandIsDisabled)
{
    backend.PressKey('D', {VK_CONTROL}, 4);
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(View().keys.empty());
}

TEST_F(KeyboardTest, AnUntranslatedKeyReachesTheViewAsKeyDownThenCharacter)
{
    backend.Type("Hi");
    EXPECT_EQ(View().keys, (std::vector<std::string>{"down 72", "char H", "down 73", "char i"}));
}

TEST_F(KeyboardTest, CharactersArriveAsUnicodeCodePointsFromKeysAndFromAnInputMethod)
{
    backend.Type(U"\u00e9\U0001F600");
    EXPECT_EQ(View().keys, (std::vector<std::string>{"down 0", "char U+233", "down 0", "char U+128512"}));
    View().keys.clear();
    backend.CommitComposedText(U"\u4e2da");
    EXPECT_EQ(View().keys, (std::vector<std::string>{"char U+20013", "char a"})) << "no key-down messages";
    EXPECT_THROW(backend.Type(std::string_view("\xC3\xA9")), std::invalid_argument);
}

TEST_F(KeyboardTest, TranslateAcceleratorIgnoresEverythingButKeyDown)
{
    HACCEL table = LoadAccelerators(SecondViewTable);
    ASSERT_NE(table, nullptr);
    backend.SetKeyDown(VK_CONTROL, true);
    MSG character{View().GetSafeHwnd(), WM_CHAR, 'B', 0};
    EXPECT_EQ(TranslateAccelerator(View().GetSafeHwnd(), table, &character), 0);
    MSG keyDown{View().GetSafeHwnd(), WM_KEYDOWN, 'B', 0};
    EXPECT_EQ(TranslateAccelerator(View().GetSafeHwnd(), table, &keyDown), 1);
    EXPECT_EQ(TranslateAccelerator(View().GetSafeHwnd(), nullptr, &keyDown), 0);
    EXPECT_EQ(LoadAccelerators(9999), nullptr);
    EXPECT_EQ(Journal(), std::vector<std::string>{"bold"});
}

TEST_F(KeyboardTest, KeyStateReportsHeldAndToggledKeys)
{
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    backend.SetKeyDown(VK_SHIFT, true);
    EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
    backend.SetKeyToggled(VK_CAPITAL, true);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 0x0001, 1);
    EXPECT_EQ(platform::input::CurrentKeyFlags(), MK_SHIFT);
}

}  // namespace
}  // namespace platform_test

namespace platform_test {
namespace {

TEST_F(KeyboardTest, TypedPunctuationIsNeverTakenForANavigationKey)
{
    platform::resources::AddAccelerators(ViewTable, {{FVIRTKEY, VK_DOWN, ID_EDIT_SELECT_ALL}});
    backend.Type("(x)");
    EXPECT_TRUE(Journal().empty());
    EXPECT_EQ(View().keys, (std::vector<std::string>{"down 0", "char (", "down 88", "char x", "down 0", "char )"}));
}

}  // namespace
}  // namespace platform_test
