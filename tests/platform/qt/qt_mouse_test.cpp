#include "platform/clipboard.h"
#include "platform/frame_wnd.h"
#include "platform/qt/qt_painted_window.h"
#include "platform/view.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>

#include "qt_event_pumping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the mouse buttons it is told about, with their key flags.
class ButtonRecordingView : public CView {
public:
    std::vector<std::string> events;

protected:
    void OnDraw(CDC*) override {}
    void OnLButtonDown(UINT flags, CPoint point) override { Record("left down", flags, point); }
    void OnLButtonUp(UINT flags, CPoint point) override { Record("left up", flags, point); }
    void OnLButtonDblClk(UINT flags, CPoint point) override { Record("left double", flags, point); }
    void OnMButtonDown(UINT flags, CPoint point) override { Record("middle down", flags, point); }
    void OnMButtonUp(UINT flags, CPoint point) override { Record("middle up", flags, point); }
    void OnMouseMove(UINT flags, CPoint point) override
    {
        if ((flags & MK_LBUTTON) != 0)
            Record("drag", flags, point);
    }

private:
    void Record(const std::string& what, UINT flags, CPoint point)
    {
        std::string text = what + " " + std::to_string(point.x) + "," + std::to_string(point.y);
        if ((flags & MK_SHIFT) != 0)
            text += " shift";
        if ((flags & MK_CONTROL) != 0)
            text += " control";
        if ((flags & MK_MBUTTON) != 0)
            text += " middle";
        events.push_back(text);
    }
};

class QtMouseTest : public testing::Test {
protected:
    void SetUp() override
    {
        CCreateContext context{RuntimeClassOf<ButtonRecordingView, CView>(), nullptr};
        ASSERT_TRUE(frame.LoadFrame(1, &context));
        frame.InitialUpdateFrame(nullptr, CFrameWnd::Visibility::Show);
        ProcessEventsFor(50);
    }
    ButtonRecordingView& View() { return dynamic_cast<ButtonRecordingView&>(*frame.GetActiveView()); }
    QWidget& Viewport()
    {
        auto* peer = dynamic_cast<platform::qt::QtPaintedWindow*>(View().Peer());
        return *static_cast<QAbstractScrollArea*>(peer->Widget())->viewport();
    }
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint point)
    {
        QMouseEvent event(type, point, Viewport().mapToGlobal(point), button, buttons, modifiers);
        QApplication::sendEvent(&Viewport(), &event);
    }

    CFrameWnd frame;
};

TEST_F(QtMouseTest, ButtonsReachTheirHandlersWithTheModifiersOfTheEvent)
{
    Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier, {10, 12});
    Send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier, {30, 12});
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::NoModifier, {30, 12});
    Send(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, {30, 12});
    Send(QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier, {5, 40});
    Send(QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, Qt::NoModifier, {5, 40});
    EXPECT_EQ(View().events, (std::vector<std::string>{"left down 10,12 shift", "drag 30,12 control", "left up 30,12",
                                                       "left double 30,12", "middle down 5,40 middle", "middle up 5,40"}));
}

TEST_F(QtMouseTest, PrimarySelectionKeepsTheLastSelectedText)
{
    platform::clipboard::SetPrimarySelection("selected \xC3\xA9l\xC3\xA9ment");
    EXPECT_EQ(platform::clipboard::PrimarySelection(), "selected \xC3\xA9l\xC3\xA9ment");
    platform::clipboard::SetText("on the clipboard");
    EXPECT_EQ(platform::clipboard::PrimarySelection(), "selected \xC3\xA9l\xC3\xA9ment") << "the clipboard is another thing";
}

}  // namespace
