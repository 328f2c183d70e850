#include "platform/command_ids.h"
#include "platform/dc.h"
#include "platform/frame_wnd.h"
#include "platform/message_queue.h"
#include "platform/qt/qt_frame_window.h"
#include "platform/qt/qt_painted_window.h"
#include "platform/resources.h"
#include "platform/view.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "qt_event_pumping.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr UINT FrameResource = 7001;
constexpr UINT CommandWithHandler = 40001;
constexpr UINT CommandWithoutHandler = 40002;
constexpr UINT ProgressMessage = WM_USER + 5;

class PaintingView : public CView {
protected:
    void OnDraw(CDC* dc) override
    {
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(client, RGB(255, 255, 255));
        dc->FillSolidRect(CRect(10, 10, 30, 30), RGB(0, 0, 255));
        dc->SetTextColor(RGB(0, 128, 0));
        dc->SetBkColor(RGB(255, 255, 0));
        dc->TextOut(40, 10, "WWWW");
        // A long run clipped to its own cells, as the text views draw: its last character must show.
        const CSize extent = dc->GetTextExtent(LongRun);
        const CRect cells(0, LongRunTop, extent.cx, LongRunTop + extent.cy);
        dc->SetBkColor(RGB(255, 255, 255));
        dc->ExtTextOut(0, LongRunTop, ETO_CLIPPED, &cells, LongRun);
        lastCell = CRect(extent.cx - dc->GetTextExtent("#").cx, LongRunTop, extent.cx, LongRunTop + extent.cy);
    }

public:
    static constexpr std::string_view LongRun =
        "\\documentclass[11pt,a4paper]{article} % a run as long as a source line, ending in #";
    static constexpr int LongRunTop = 60;
    static inline CRect lastCell;
    bool OnEraseBkgnd(CDC*) override { return true; }
};

class TestFrame : public CFrameWnd {
public:
    TestFrame()
    {
        MapCommand(CommandWithHandler, [this] { ++commands; });
        MapMessage(ProgressMessage, [this](WPARAM, LPARAM pane) {
            handledOnUserInterfaceThread = platform::message_queue::IsUserInterfaceThread();
            return LRESULT{pane * 2};
        });
    }
    int commands = 0;
    bool handledOnUserInterfaceThread = false;
};

class QtWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        platform::resources::AddMenu(FrameResource, {platform::MenuItem::Popup(
                                                        "&Test", {platform::MenuItem::Command("&Handled", CommandWithHandler),
                                                                  platform::MenuItem::Command("&Unhandled", CommandWithoutHandler)})});
        CCreateContext context{RuntimeClassOf<PaintingView, CView>(), nullptr};
        ASSERT_TRUE(frame.LoadFrame(FrameResource, &context));
        frame.InitialUpdateFrame(nullptr, CFrameWnd::Visibility::Show);
        ProcessEventsFor(100);
    }

    QMainWindow& MainWindow() { return *static_cast<platform::qt::QtFrameWindow*>(frame.FramePeer())->MainWindow(); }
    QWidget& Viewport()
    {
        auto* peer = dynamic_cast<platform::qt::QtPaintedWindow*>(frame.GetActiveView()->Peer());
        return *static_cast<QAbstractScrollArea*>(peer->Widget())->viewport();
    }
    QMenu& TestMenu() { return *MainWindow().menuBar()->findChildren<QMenu*>().front(); }

    TestFrame frame;
};

TEST_F(QtWindowTest, ViewPaintsThroughTheDeviceContextOntoItsViewport)
{
    const QImage image = Viewport().grab().toImage();
    EXPECT_EQ(image.pixelColor(20, 20), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(255, 255, 255));
    // The text's cells are filled with the background colour, its glyphs drawn in the text colour.
    bool sawText = false;
    bool sawBackground = false;
    for (int x = 40; x < 70; ++x) {
        for (int y = 10; y < 24; ++y) {
            const QColor pixel = image.pixelColor(x, y);
            sawText = sawText || (pixel.green() < 200 && pixel.red() < 100 && pixel.blue() < 100);
            sawBackground = sawBackground || pixel == QColor(255, 255, 0);
        }
    }
    EXPECT_TRUE(sawText);
    EXPECT_TRUE(sawBackground);

    const CRect last = PaintingView::lastCell;
    ASSERT_GT(last.Width(), 0);
    bool lastCellInked = false;
    for (int x = last.left; x < last.right; ++x)
        for (int y = last.top; y < last.bottom; ++y)
            lastCellInked = lastCellInked || image.pixelColor(x, y).red() < 128;
    EXPECT_TRUE(lastCellInked) << "the run's last character was cut off";
}

TEST_F(QtWindowTest, MenuEntriesDispatchTheirCommandsAndEntriesWithoutHandlerAreDisabled)
{
    QMenu& menu = TestMenu();
    emit menu.aboutToShow();
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_TRUE(actions[0]->isEnabled());
    EXPECT_FALSE(actions[1]->isEnabled());
    actions[0]->trigger();
    EXPECT_EQ(frame.commands, 1);
}

TEST_F(QtWindowTest, SendMessageFromAWorkerWaitsForTheUserInterfaceThread)
{
    std::atomic<LRESULT> result = -1;
    std::thread worker([&] { result = frame.SendMessage(ProgressMessage, 0, 21); });
    QElapsedTimer timer;
    timer.start();
    while (result == -1 && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(frame.handledOnUserInterfaceThread);
}

}  // namespace

namespace {

class ColourCountingView : public CView {
public:
    int colourChanges = 0;

protected:
    void OnDraw(CDC*) override {}
    void OnSysColorChange() override { ++colourChanges; }
};

TEST(QtColourScheme, APaletteChangeReachesTheViewsAsASystemColourChange)
{
    CFrameWnd frame;
    CCreateContext context{RuntimeClassOf<ColourCountingView, CView>(), nullptr};
    ASSERT_TRUE(frame.LoadFrame(FrameResource, &context));
    frame.InitialUpdateFrame(nullptr, CFrameWnd::Visibility::Show);
    auto* view = dynamic_cast<ColourCountingView*>(frame.GetActiveView());
    ASSERT_NE(view, nullptr);
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Base, QColor(10, 20, 30));
    auto* window = static_cast<platform::qt::QtFrameWindow*>(frame.FramePeer())->MainWindow();
    window->setPalette(palette);
    EXPECT_TRUE(ProcessEventsUntil([&] { return view->colourChanges >= 1; }));
}

}  // namespace
