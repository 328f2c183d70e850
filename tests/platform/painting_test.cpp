#include "platform/bitmap.h"
#include "platform/dc.h"
#include "platform/font.h"
#include "platform/frame_wnd.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_window.h"
#include "platform/image_list.h"
#include "platform/system_services.h"
#include "platform/view.h"

#include <gtest/gtest.h>

namespace {

using platform::headless::Cell;
using platform::headless::HeadlessBackend;

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 128, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF White = RGB(255, 255, 255);

// A view that paints what the test puts in `draw`.
class ScriptedView : public CView {
public:
    std::function<void(CDC*)> draw;
    int paints = 0;

protected:
    void OnDraw(CDC* dc) override
    {
        ++paints;
        if (draw)
            draw(dc);
    }
    bool OnEraseBkgnd(CDC*) override { return true; }
};

class PaintingTest : public testing::Test {
protected:
    void SetUp() override
    {
        CCreateContext context{RuntimeClassOf<ScriptedView, CView>(), nullptr};
        ASSERT_TRUE(frame.LoadFrame(1, &context));
        frame.InitialUpdateFrame(nullptr, CFrameWnd::Visibility::Show);
        view = dynamic_cast<ScriptedView*>(frame.GetActiveView());
        ASSERT_NE(view, nullptr);
    }

    const platform::headless::CellSurface& Screen() { return backend.Screen(*view); }

    HeadlessBackend backend;
    CFrameWnd frame;
    ScriptedView* view = nullptr;
};

TEST_F(PaintingTest, TextShowsItsBytesAndColoursInCellsOfEightBySixteen)
{
    view->draw = [](CDC* dc) {
        dc->SetTextColor(Red);
        dc->SetBkColor(Green);
        dc->TextOut(8, 16, "Hi");
    };
    view->Invalidate();
    EXPECT_EQ(Screen().CellAt({8, 16}), (Cell{'H', Red, Green}));
    EXPECT_EQ(Screen().CellAt({23, 31}), (Cell{'i', Red, Green}));
    EXPECT_EQ(Screen().TextAt({8, 16}, 2), "Hi");
    EXPECT_EQ(Screen().CellAt({24, 16}).byte, 0);
}

}  // namespace
