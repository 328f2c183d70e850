#include "platform/cursor.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_window.h"
#include "platform/input.h"
#include "platform/system_services.h"
#include "platform/virtual_keys.h"
#include "platform/wnd.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;
using platform::headless::HeadlessBackend;

// A window that records what happens to it.
class EventWindow : public CWnd {
public:
    std::vector<std::string> events;
    bool setsCursor = false;

protected:
    void OnSetFocus(CWnd*) override { events.push_back("focus"); }
    void OnKillFocus(CWnd*) override { events.push_back("lost focus"); }
    void OnTimer(UINT_PTR id) override { events.push_back("timer " + std::to_string(id)); }
    void OnVScroll(UINT code, UINT position) override
    {
        SCROLLINFO info;
        GetScrollInfo(SB_VERT, &info, SIF_TRACKPOS);
        events.push_back("vscroll " + std::to_string(code) + " " + std::to_string(position) + " track " +
                         std::to_string(info.nTrackPos));
    }
    void OnLButtonDown(UINT flags, CPoint point) override { Mouse("down", flags, point); }
    void OnMouseMove(UINT flags, CPoint point) override { Mouse("move", flags, point); }
    bool OnMouseWheel(UINT, short delta, CPoint) override
    {
        events.push_back("wheel " + std::to_string(delta));
        return true;
    }
    bool OnSetCursor(CWnd*, UINT hitTest, UINT) override
    {
        if (setsCursor && hitTest == HTCLIENT)
            SetCursor(LoadStandardCursor(IDC_IBEAM));
        return setsCursor;
    }

private:
    void Mouse(const char* what, UINT flags, CPoint point)
    {
        events.push_back(std::string(what) + " " + std::to_string(point.x) + "," + std::to_string(point.y) +
                         ((flags & MK_SHIFT) != 0 ? " shift" : ""));
    }
};

class WindowStateTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Create(nullptr, 1, WS_VSCROLL | WS_HSCROLL, CRect(0, 0, 400, 300)));
        ASSERT_TRUE(first.Create(&parent, 2, WS_CHILD, CRect(0, 0, 200, 300)));
        ASSERT_TRUE(second.Create(&parent, 3, WS_CHILD, CRect(200, 0, 400, 300)));
    }

    HeadlessBackend backend;
    EventWindow parent;
    EventWindow first;
    EventWindow second;
};

TEST_F(WindowStateTest, ScrollBarsKeepRangePageAndAPositionThatLeavesAWholePage)
{
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = 99;
    info.nPage = 30;
    info.nPos = 90;
    EXPECT_EQ(parent.SetScrollInfo(SB_VERT, &info), 70);
    EXPECT_EQ(parent.GetScrollPos(SB_VERT), 70);
    const auto& shown = backend.Peer(parent).ScrollBar(SB_VERT);
    EXPECT_EQ(shown.nPage, 30u);
    EXPECT_EQ(shown.nPos, 70);
    EXPECT_TRUE(backend.Peer(parent).IsScrollBarEnabled(SB_VERT));

    // Everything fits: the bar shows but is disabled.
    info.nPage = 100;
    parent.SetScrollInfo(SB_VERT, &info);
    EXPECT_EQ(parent.GetScrollPos(SB_VERT), 0);
    EXPECT_FALSE(backend.Peer(parent).IsScrollBarEnabled(SB_VERT));
    EXPECT_NE(backend.Peer(parent).ScrollBar(SB_VERT).fMask & SIF_DISABLENOSCROLL, 0u);
    EXPECT_EQ(parent.SetScrollPos(SB_HORZ, 5), 0);
}

TEST_F(WindowStateTest, AScrollBarActionReachesTheWindowWithItsTrackPosition)
{
    backend.ScrollBarAction(parent, SB_VERT, SB_THUMBTRACK, 42);
    backend.ScrollBarAction(parent, SB_VERT, SB_LINEDOWN);
    EXPECT_EQ(parent.events, (std::vector<std::string>{"vscroll 5 42 track 42", "vscroll 1 0 track 0"}));
}

TEST_F(WindowStateTest, FocusMovesWithKillAndSetFocusMessages)
{
    first.SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), &first);
    second.SetFocus();
    EXPECT_EQ(first.events, (std::vector<std::string>{"focus", "lost focus"}));
    EXPECT_EQ(second.events, std::vector<std::string>{"focus"});
    second.SetFocus();
    EXPECT_EQ(second.events.size(), 1u) << "no message when the focus stays";
    second.DestroyWindow();
    EXPECT_EQ(CWnd::GetFocus(), nullptr);
}

TEST_F(WindowStateTest, TheCaretBelongsToTheWindowThatMadeItLast)
{
    first.CreateSolidCaret(2, 16);
    CWnd::SetCaretPos({20, 32});
    first.ShowCaret();
    auto caret = backend.Peer(first).Caret();
    EXPECT_TRUE(caret.exists && caret.visible);
    EXPECT_FALSE(caret.grey);
    EXPECT_EQ(caret.rect, CRect(20, 32, 22, 48));

    second.ShowCaret();
    EXPECT_FALSE(backend.Peer(second).Caret().exists) << "a window without the caret cannot show it";
    second.CreateGrayCaret(2, 16);
    EXPECT_FALSE(backend.Peer(first).Caret().exists);
    caret = backend.Peer(second).Caret();
    EXPECT_TRUE(caret.exists && caret.grey);
    EXPECT_FALSE(caret.visible) << "a new caret starts hidden";
    EXPECT_EQ(CWnd::GetCaretPos(), CPoint(20, 32));
    second.HideCaret();
    CWnd::DestroyCaret();
    EXPECT_FALSE(backend.Peer(second).Caret().exists);
}

TEST_F(WindowStateTest, TimersFireInOrderUntilKilled)
{
    first.SetTimer(1001, 100);
    second.SetTimer(7, 250);
    backend.AdvanceTime(99ms);
    EXPECT_TRUE(first.events.empty());
    backend.AdvanceTime(201ms);
    EXPECT_EQ(first.events, (std::vector<std::string>{"timer 1001", "timer 1001", "timer 1001"}));
    EXPECT_EQ(second.events, std::vector<std::string>{"timer 7"});
    EXPECT_TRUE(first.KillTimer(1001));
    backend.AdvanceTime(1s);
    EXPECT_EQ(first.events.size(), 3u);
}

TEST_F(WindowStateTest, TheCaptureWindowGetsTheMouseInItsOwnCoordinates)
{
    first.SetCapture();
    EXPECT_EQ(CWnd::GetCapture(), &first);
    EXPECT_TRUE(backend.Peer(first).IsCaptured());
    backend.MouseMove(second, {10, 20});
    EXPECT_EQ(first.events, std::vector<std::string>{"move 210,20"});
    EXPECT_TRUE(second.events.empty());
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_FALSE(ReleaseCapture());
    backend.MouseButton(second, WM_LBUTTONDOWN, {1, 2}, {VK_SHIFT});
    EXPECT_EQ(second.events, std::vector<std::string>{"down 1,2 shift"});
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0) << "the modifier is released again";
}

TEST_F(WindowStateTest, ThePointerPositionIsKeptInScreenCoordinates)
{
    backend.MouseMove(second, {5, 6});
    CPoint pointer;
    GetCursorPos(&pointer);
    EXPECT_EQ(pointer, CPoint(205, 6));
    second.ScreenToClient(&pointer);
    EXPECT_EQ(pointer, CPoint(5, 6));
}

TEST_F(WindowStateTest, MovingTheMouseAsksTheWindowForItsCursor)
{
    backend.MouseMove(first, {1, 1});
    EXPECT_EQ(backend.Cursor(), LoadStandardCursor(IDC_ARROW));
    first.setsCursor = true;
    backend.MouseMove(first, {2, 2});
    EXPECT_EQ(backend.Cursor(), LoadStandardCursor(IDC_IBEAM));
    EXPECT_EQ(LoadCursor(31999), nullptr) << "no such cursor resource";
}

TEST_F(WindowStateTest, TheWheelGoesToTheWindowAndAnUnhandledWheelToItsParent)
{
    backend.MouseWheel(first, -240, {3, 3});
    EXPECT_EQ(first.events, std::vector<std::string>{"wheel -240"});
    CWnd plain;
    ASSERT_TRUE(plain.Create(&parent, 4, WS_CHILD, CRect(0, 0, 10, 10)));
    backend.MouseWheel(plain, 120, {1, 1});
    EXPECT_EQ(parent.events, std::vector<std::string>{"wheel 120"});
}

TEST_F(WindowStateTest, TheWaitCursorShowsWhileAnyWaitLasts)
{
    {
        CWaitCursor outer;
        EXPECT_TRUE(backend.WaitCursorShown());
        {
            CWaitCursor inner;
        }
        EXPECT_TRUE(backend.WaitCursorShown());
    }
    EXPECT_FALSE(backend.WaitCursorShown());
    MessageBeep(MB_OK);
    EXPECT_EQ(backend.Beeps(), 1);
}

TEST_F(WindowStateTest, ChildrenAreFoundByIdAndDestroyedWithTheirParent)
{
    EXPECT_EQ(parent.GetDlgItem(3), &second);
    EXPECT_EQ(parent.GetDlgItem(9), nullptr);
    EXPECT_EQ(second.GetParent(), &parent);
    const HWND handle = second.GetSafeHwnd();
    parent.DestroyWindow();
    EXPECT_EQ(CWnd::FromHandle(handle), nullptr);
    EXPECT_EQ(second.GetSafeHwnd(), nullptr);
    EXPECT_EQ(second.GetParent(), nullptr);
}

}  // namespace

namespace {

TEST_F(WindowStateTest, ReleasingTheRightButtonAsksForAContextMenuAtTheScreenPoint)
{
    class MenuWindow : public CWnd {
    public:
        std::vector<CPoint> requests;

    protected:
        void OnContextMenu(CWnd*, CPoint point) override { requests.push_back(point); }
    } window;
    ASSERT_TRUE(window.Create(&parent, 5, WS_CHILD, CRect(100, 50, 200, 150)));
    backend.MouseButton(window, WM_RBUTTONDOWN, {3, 4});
    EXPECT_TRUE(window.requests.empty());
    backend.MouseButton(window, WM_RBUTTONUP, {3, 4});
    EXPECT_EQ(window.requests, std::vector<CPoint>{CPoint(103, 54)});
}

}  // namespace
