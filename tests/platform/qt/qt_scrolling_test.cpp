#include "platform/dc.h"
#include "platform/frame_wnd.h"
#include "platform/qt/qt_painted_window.h"
#include "platform/view.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>

#include "qt_event_pumping.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// A white view with scroll bars that scrolls its position to wherever a scroll message asks.
class ScrollingView : public CView {
public:
    std::vector<std::pair<UINT, int>> requests;

protected:
    bool PreCreateWindow(CREATESTRUCT& create) override
    {
        create.style |= WS_VSCROLL | WS_HSCROLL;
        return true;
    }
    void OnDraw(CDC* dc) override
    {
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(client, RGB(255, 255, 255));
    }
    bool OnEraseBkgnd(CDC*) override { return true; }
    void OnVScroll(UINT code, UINT) override
    {
        SCROLLINFO info;
        GetScrollInfo(SB_VERT, &info);
        requests.emplace_back(code, info.nTrackPos);
        SetScrollPos(SB_VERT, code == SB_LINEDOWN ? info.nPos + 1 : info.nTrackPos);
    }
};

class QtScrollingTest : public testing::Test {
protected:
    void SetUp() override
    {
        CCreateContext context{RuntimeClassOf<ScrollingView, CView>(), nullptr};
        ASSERT_TRUE(frame.LoadFrame(7002, &context));
        frame.InitialUpdateFrame(nullptr, CFrameWnd::Visibility::Show);
        view = dynamic_cast<ScrollingView*>(frame.GetActiveView());
        area = static_cast<QAbstractScrollArea*>(dynamic_cast<platform::qt::QtPaintedWindow*>(view->Peer())->Widget());
        ProcessEventsFor(50);
    }
    void SetVertical(int maximum, UINT page, int position)
    {
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        info.nMax = maximum;
        info.nPage = page;
        info.nPos = position;
        view->SetScrollInfo(SB_VERT, &info);
        QApplication::processEvents();
    }

    CFrameWnd frame;
    ScrollingView* view = nullptr;
    QAbstractScrollArea* area = nullptr;
};

TEST_F(QtScrollingTest, TheBarShowsRangePageAndPositionAndIsDisabledWhenNothingScrolls)
{
    SetVertical(99, 10, 20);
    QScrollBar& bar = *area->verticalScrollBar();
    EXPECT_TRUE(bar.isEnabled());
    EXPECT_EQ(bar.maximum(), 90);
    EXPECT_EQ(bar.pageStep(), 10);
    EXPECT_EQ(bar.value(), 20);
    SetVertical(5, 10, 0);
    EXPECT_FALSE(bar.isEnabled());
    EXPECT_EQ(area->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(QtScrollingTest, AShownBarFollowsItsWindowOnceThePendingEventsAreHandled)
{
    SetVertical(99, 10, 20);
    QScrollBar& bar = *area->verticalScrollBar();
    SCROLLINFO info;
    info.fMask = SIF_POS;
    for (const int position : {30, 40, 50}) {
        info.nPos = position;
        view->SetScrollInfo(SB_VERT, &info);
    }
    EXPECT_EQ(bar.value(), 20);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 50);
    QApplication::processEvents();
    EXPECT_EQ(bar.value(), 50);
}

// In a long text one line moves the slider by less than a pixel: the bar is not painted again.
TEST_F(QtScrollingTest, ABarIsPaintedAgainOnlyWhenItsSliderMoves)
{
    SetVertical(1000000, 10, 500000);
    QScrollBar& bar = *area->verticalScrollBar();
    ProcessEventsFor(50);
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    bar.installEventFilter(&counter);
    const std::pair<int, bool> steps[] = {{500001, false}, {499999, false}, {900000, true}, {1000000 - 10 + 1, true}};
    for (const auto& [position, painted] : steps) {
        counter.paints = 0;
        SetVertical(1000000, 10, position);
        ProcessEventsFor(50);
        EXPECT_EQ(bar.value(), position);
        EXPECT_EQ(counter.paints > 0, painted) << position;
    }
    bar.removeEventFilter(&counter);
}

TEST_F(QtScrollingTest, UsingTheBarSendsScrollMessagesAndTheWindowDecidesThePosition)
{
    SetVertical(99, 10, 20);
    QScrollBar& bar = *area->verticalScrollBar();
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ASSERT_EQ(view->requests.size(), 1u);
    EXPECT_EQ(view->requests[0].first, SB_LINEDOWN);
    EXPECT_EQ(bar.value(), 21);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 21);

    // Dragging the thumb moves the slider position, which Qt reports as a slider move.
    bar.setSliderPosition(50);
    ASSERT_EQ(view->requests.size(), 2u);
    EXPECT_EQ(view->requests[1], std::make_pair(SB_THUMBTRACK, 50));
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 50);
}

TEST_F(QtScrollingTest, TheCaretIsDrawnByTheBackendOverThePaintedText)
{
    view->CreateSolidCaret(2, 16);
    CWnd::SetCaretPos({30, 40});
    view->ShowCaret();
    ProcessEventsFor(50);
    QWidget& viewport = *area->viewport();
    const QImage shown = viewport.grab().toImage();
    EXPECT_EQ(shown.pixelColor(30, 40), QColor(0, 0, 0)) << "white inverted";
    EXPECT_EQ(shown.pixelColor(31, 55), QColor(0, 0, 0));
    EXPECT_EQ(shown.pixelColor(32, 40), QColor(255, 255, 255)) << "two pixels wide";
    view->HideCaret();
    ProcessEventsFor(50);
    EXPECT_EQ(viewport.grab().toImage().pixelColor(30, 40), QColor(255, 255, 255));
    CWnd::DestroyCaret();
}

}  // namespace

#include "platform/drag_drop.h"

#include <QDragEnterEvent>
#include <QMimeData>

namespace {

// A drop target that takes text and counts how often it is asked to scroll.
class CountingDropTarget : public COleDropTarget {
public:
    int scrolls = 0;
    std::vector<std::string> drops;
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD, CPoint) override
    {
        return data->HasText() ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD, CPoint) override
    {
        return data->HasText() ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragScroll(CWnd*, DWORD, CPoint) override
    {
        ++scrolls;
        return DROPEFFECT_NONE;
    }
    bool OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint) override
    {
        drops.push_back(*data->GetText());
        return true;
    }
};

TEST_F(QtScrollingTest, ADragRestingOverTheViewIsOfferedScrollingRepeatedlyAndDropsItsTextInUtf8)
{
    CountingDropTarget target;
    ASSERT_TRUE(target.Register(view));
    QWidget& viewport = *area->viewport();
    EXPECT_TRUE(viewport.acceptDrops());
    QMimeData data;
    data.setText(QString::fromUtf8("caf\xC3\xA9"));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_TRUE(ProcessEventsUntil([&] { return target.scrolls >= 2; })) << "asked again while the pointer rests";

    QDropEvent drop(QPointF(10, 10), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&viewport, &drop);
    EXPECT_EQ(target.drops, std::vector<std::string>{"caf\xC3\xA9"});
    const int scrollsAfterDrop = target.scrolls;
    ProcessEventsFor(120);
    EXPECT_EQ(target.scrolls, scrollsAfterDrop) << "no more scrolling after the drop";
    target.Revoke();
}

}  // namespace
