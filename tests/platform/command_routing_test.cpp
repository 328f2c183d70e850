#include "platform_fixture.h"

#include "platform/virtual_keys.h"

namespace platform_test {
namespace {

class CommandRoutingTest : public ApplicationTest {
protected:
    void SetUp() override { ASSERT_NE(application.OpenDocumentFile({}), nullptr); }

    void SendCommand(UINT id) { Frame().SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    const platform::headless::HeadlessWindow& Peer() { return FramePeer(); }
};

TEST_F(CommandRoutingTest, CommandsGoToTheViewThenTheDocumentThenTheFrameThenTheApplication)
{
    SendCommand(ViewCommand);
    SendCommand(DocumentCommand);
    SendCommand(FrameCommand);
    SendCommand(ApplicationCommand);
    EXPECT_EQ(Journal(), (std::vector<std::string>{"view", "frame"}));
    EXPECT_EQ(Document().handled, std::vector<std::string>{"document"});
    EXPECT_EQ(application.handled, std::vector<std::string>{"application"});

    // The first object on the route that has a handler takes it; the others never see it.
    Journal().clear();
    SendCommand(SharedCommand);
    EXPECT_EQ(Journal(), std::vector<std::string>{"view"});
    EXPECT_EQ(Document().handled, std::vector<std::string>{"document"});
    EXPECT_EQ(application.handled, std::vector<std::string>{"application"});
}

TEST_F(CommandRoutingTest, ACommandWhoseUpdateHandlerDisablesItDoesNotRun)
{
    SendCommand(DisabledCommand);
    View().sharedEnabled = false;
    SendCommand(SharedCommand);
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(Document().handled.empty());
}

TEST_F(CommandRoutingTest, OpeningAMenuRunsUpdateHandlersAndDisablesCommandsWithoutHandler)
{
    const platform::MenuItem* viewEntry = backend.OpenMenuEntry(Frame(), ViewCommand);
    ASSERT_NE(viewEntry, nullptr);
    EXPECT_TRUE(viewEntry->enabled);
    EXPECT_FALSE(viewEntry->checked);
    EXPECT_EQ(viewEntry->text, "View &command");

    View().checked = true;
    EXPECT_TRUE(backend.OpenMenuEntry(Frame(), ViewCommand)->checked);
    EXPECT_FALSE(backend.OpenMenuEntry(Frame(), DisabledCommand)->enabled);
    EXPECT_FALSE(backend.OpenMenuEntry(Frame(), UnhandledCommand)->enabled);
    EXPECT_TRUE(backend.OpenMenuEntry(Frame(), ID_FILE_NEW)->enabled);

    EXPECT_FALSE(backend.ChooseMenuCommand(Frame(), UnhandledCommand));
    EXPECT_TRUE(backend.ChooseMenuCommand(Frame(), ViewCommand));
    EXPECT_EQ(Journal(), std::vector<std::string>{"view"});
}

TEST_F(CommandRoutingTest, IdleUpdatesToolButtonsAndStatusPanes)
{
    View().sharedEnabled = false;
    backend.RunIdle();
    const auto& buttons = Peer().ToolButtons();
    ASSERT_EQ(buttons.size(), 4u);
    EXPECT_TRUE(buttons[0].enabled);
    EXPECT_EQ(buttons[1].id, ID_SEPARATOR);
    EXPECT_TRUE(buttons[2].enabled);
    EXPECT_FALSE(buttons[3].enabled) << "a button without a handler is disabled";

    // Pane texts: the update handler's text; an indicator shows its name only while enabled.
    const auto& panes = Peer().StatusPanes();
    ASSERT_EQ(panes.size(), 4u);
    EXPECT_EQ(panes[1].text, "View &command");
    EXPECT_EQ(panes[2].text, "") << "Caps Lock is off";
    EXPECT_EQ(panes[3].text, "OVR") << "an indicator without update handler keeps its text";
    backend.SetKeyToggled(VK_CAPITAL, true);
    backend.RunIdle();
    EXPECT_EQ(Peer().StatusPanes()[2].text, "CAP");
}

TEST_F(CommandRoutingTest, StatusPaneWidthsComeFromTheirIndicatorStrings)
{
    const auto& panes = Peer().StatusPanes();
    EXPECT_EQ(panes[0].sizeText, "") << "the message pane takes the remaining width";
    EXPECT_EQ(panes[1].sizeText, "");
    EXPECT_EQ(panes[2].sizeText, "CAP");
    EXPECT_EQ(panes[3].sizeText, "OVR");
}

TEST_F(CommandRoutingTest, TheFrameShowsMessagesAndTheIdleMessageInPaneZero)
{
    Frame().SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>("Working"));
    EXPECT_EQ(Frame().statusBar.GetPaneText(0), "Working");
    Frame().PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ(Frame().statusBar.GetPaneText(0), "Working") << "posted messages wait for the queue";
    backend.PumpMessages();
    EXPECT_EQ(Frame().statusBar.GetPaneText(0), "Ready");
}

TEST_F(CommandRoutingTest, ViewMenuTogglesTheBarsAndShowsTheirState)
{
    EXPECT_TRUE(backend.OpenMenuEntry(Frame(), ID_FILE_NEW)->enabled);
    SendCommand(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(Peer().IsToolbarVisible());
    SendCommand(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(Peer().IsStatusBarVisible());
    SendCommand(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(Peer().IsToolbarVisible());

    CCmdUI state;
    state.m_nID = ID_VIEW_STATUS_BAR;
    state.DoUpdate(&Frame(), CCmdUI::Unhandled::Disable);
    EXPECT_TRUE(state.m_bEnabled);
    EXPECT_EQ(state.m_nCheck, 0);
}

TEST_F(CommandRoutingTest, RangeHandlersReceiveTheCommandId)
{
    class RangeTarget : public CCmdTarget {
    public:
        RangeTarget() { MapCommandRange(100, 109, [this](UINT id) { ids.push_back(id); }); }
        std::vector<UINT> ids;
    } target;
    EXPECT_TRUE(target.OnCmdMsg(103, CN_COMMAND, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(109, CN_COMMAND, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(110, CN_COMMAND, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(100, CN_QUERY_HANDLER, nullptr));
    EXPECT_EQ(target.ids, (std::vector<UINT>{103, 109}));
}

}  // namespace
}  // namespace platform_test

namespace platform_test {
namespace {

// A view that counts the document's updates and the colour changes it is told about.
class UpdatedView : public RecordingView {
public:
    std::vector<LPARAM> hints;
    int colourChanges = 0;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override
    {
        hints.push_back(hint);
        CView::OnUpdate(sender, hint, hintObject);
    }

protected:
    void OnSysColorChange() override { ++colourChanges; }
};

TEST_F(CommandRoutingTest, DocumentUpdatesReachEveryViewButTheSender)
{
    UpdatedView second;
    ASSERT_TRUE(second.CreateView(&Frame(), AFX_IDW_PANE_FIRST + 1, &Document()));
    ASSERT_EQ(Document().GetViews().size(), 2u);
    Document().UpdateAllViews(&View(), 5);
    Document().UpdateAllViews(nullptr, 6);
    EXPECT_EQ(second.hints, (std::vector<LPARAM>{5, 6}));
    EXPECT_FALSE(backend.Peer(second).InvalidRect().IsRectEmpty()) << "the default update repaints";

    Frame().SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(second.colourChanges, 1) << "the frame passes colour changes to its children";
    second.DestroyWindow();
}

TEST_F(CommandRoutingTest, TheFrameHandsTheFocusToItsView)
{
    CWnd::ReportFocusChange(nullptr);
    Frame().SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), &View());
}

}  // namespace
}  // namespace platform_test

namespace platform_test {
namespace {

TEST_F(CommandRoutingTest, AToolButtonRunsItsCommandOnlyWhileEnabled)
{
    EXPECT_TRUE(backend.ClickToolButton(Frame(), ViewCommand));
    EXPECT_FALSE(backend.ClickToolButton(Frame(), UnhandledCommand));
    EXPECT_FALSE(backend.ClickToolButton(Frame(), FrameCommand)) << "not on the tool bar";
    EXPECT_EQ(Journal(), std::vector<std::string>{"view"});
}

}  // namespace
}  // namespace platform_test
