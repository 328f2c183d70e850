#include "platform/bitmap.h"
#include "platform/dc.h"
#include "platform/font.h"
#include "platform/frame_wnd.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_icon.h"
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

namespace {

TEST_F(PaintingTest, ClippedTextStopsAtTheRectangleAndOpaqueTextFillsIt)
{
    view->draw = [](CDC* dc) {
        dc->FillSolidRect(CRect(0, 0, 200, 100), White);
        dc->SetTextColor(Red);
        dc->SetBkColor(Green);
        const CRect clip(0, 0, 20, 16);
        dc->ExtTextOut(0, 0, ETO_CLIPPED, &clip, "abcd");
        const CRect opaque(0, 32, 64, 48);
        dc->ExtTextOut(0, 32, ETO_OPAQUE, &opaque, "xy");
    };
    view->Invalidate();
    EXPECT_EQ(Screen().TextAt({0, 0}, 4), "abc ");
    EXPECT_EQ(Screen().CellAt({19, 0}).byte, 'c');
    EXPECT_EQ(Screen().CellAt({20, 0}), (Cell{0, 0, White}));
    EXPECT_EQ(Screen().CellAt({40, 32}), (Cell{0, 0, Green})) << "the rectangle is filled behind the text";
}

TEST_F(PaintingTest, TransparentTextKeepsTheBackground)
{
    view->draw = [](CDC* dc) {
        dc->FillSolidRect(CRect(0, 0, 100, 100), Blue);
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(Red);
        dc->SetBkColor(Green);
        dc->TextOut(0, 0, "t");
    };
    view->Invalidate();
    EXPECT_EQ(Screen().CellAt({0, 0}), (Cell{'t', Red, Blue}));
}

TEST_F(PaintingTest, AMemoryContextDrawsIntoABitmapThatIsCopiedInOneBlock)
{
    view->draw = [](CDC* dc) {
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(dc));
        CBitmap band;
        ASSERT_TRUE(band.CreateCompatibleBitmap(dc, 64, 16));
        memory.FillSolidRect(CRect(0, 0, 64, 16), Red) /* nothing selected: nothing drawn */;
        CBitmap* previous = memory.SelectObject(&band);
        EXPECT_EQ(previous, nullptr);
        memory.FillSolidRect(CRect(0, 0, 64, 16), Blue);
        memory.SetTextColor(White);
        memory.SetBkColor(Blue);
        memory.TextOut(8, 0, "ok");
        dc->BitBlt(16, 32, 64, 16, &memory, 0, 0, SRCCOPY);
        memory.SelectObject(previous);
    };
    view->Invalidate();
    EXPECT_EQ(Screen().TextAt({24, 32}, 2), "ok");
    EXPECT_EQ(Screen().CellAt({24, 32}), (Cell{'o', White, Blue}));
    EXPECT_EQ(Screen().PixelColour({16, 32}), Blue);
    EXPECT_EQ(Screen().PixelColour({79, 47}), Blue);
    EXPECT_NE(Screen().PixelColour({80, 47}), Blue);
}

TEST_F(PaintingTest, ImageListsDrawTheirImageLeavingTheMaskColourOut)
{
    platform::BitmapResource strip{4, 2, {Red, White, Blue, Blue, White, Red, Blue, White}};
    platform::resources::AddBitmap(9100, strip);
    CImageList images;
    EXPECT_FALSE(CImageList().Create(9999, 2, 0, White));
    ASSERT_TRUE(images.Create(9100, 2, 0, White));
    EXPECT_EQ(images.GetImageCount(), 2);
    view->draw = [&](CDC* dc) {
        dc->FillSolidRect(CRect(0, 0, 100, 100), Green);
        EXPECT_TRUE(images.Draw(dc, 0, {10, 10}, ILD_TRANSPARENT));
        EXPECT_TRUE(images.Draw(dc, 1, {20, 10}, ILD_NORMAL));
        EXPECT_FALSE(images.Draw(dc, 2, {30, 10}, ILD_NORMAL));
    };
    view->Invalidate();
    EXPECT_EQ(Screen().PixelColour({10, 10}), Red);
    EXPECT_EQ(Screen().PixelColour({11, 10}), Green) << "white is the mask";
    EXPECT_EQ(Screen().PixelColour({10, 11}), Green);
    EXPECT_EQ(Screen().PixelColour({20, 10}), Blue);
    EXPECT_EQ(Screen().PixelColour({21, 11}), White) << "drawn without the mask";
}

TEST_F(PaintingTest, OnlyTheInvalidPartIsPaintedAgain)
{
    COLORREF colour = Red;
    view->draw = [&](CDC* dc) { dc->FillSolidRect(CRect(0, 0, 640, 480), colour); };
    view->Invalidate();
    EXPECT_EQ(Screen().PixelColour({0, 0}), Red);
    colour = Blue;
    const CRect part(0, 16, 640, 32);
    view->InvalidateRect(&part, EraseBackground::No);
    EXPECT_EQ(Screen().PixelColour({0, 0}), Red);
    EXPECT_EQ(Screen().PixelColour({0, 16}), Blue);
    EXPECT_EQ(Screen().PixelColour({0, 32}), Red);
    const int paints = view->paints;
    view->UpdateWindow();
    EXPECT_EQ(view->paints, paints) << "nothing is invalid";
}

TEST_F(PaintingTest, ScrollingMovesThePixelsAndRepaintsWhatWasUncovered)
{
    int firstLine = 0;
    view->draw = [&](CDC* dc) {
        for (int row = 0; row < 30; ++row)
            dc->TextOut(0, row * 16, std::string(1, static_cast<char>('A' + (firstLine + row) % 26)));
    };
    view->Invalidate();
    ASSERT_EQ(Screen().TextAt({0, 0}, 1), "A");
    const int paintsBefore = view->paints;
    firstLine = 2;
    view->ScrollWindow(0, -32);
    EXPECT_EQ(backend.Peer(*view).InvalidRect(), CRect(0, 448, 640, 480));
    view->UpdateWindow();
    EXPECT_EQ(view->paints, paintsBefore + 1);
    EXPECT_EQ(Screen().TextAt({0, 0}, 1), "C");
    EXPECT_EQ(Screen().CellAt({0, 416}).byte, 'C') << "moved up from the row that showed line 28";
    EXPECT_EQ(Screen().CellAt({0, 448}).byte, 'E');

    // A scroll limited to a part leaves the rest, such as a margin, in place.
    const CRect textArea(8, 0, 640, 480);
    view->ScrollWindow(-8, 0, &textArea, &textArea);
    EXPECT_EQ(Screen().CellAt({0, 0}).byte, 'C');
}

TEST_F(PaintingTest, AWindowThatDoesNotEraseGetsTheWindowColourBehindItsPaint)
{
    class PlainView : public CView {
    protected:
        void OnDraw(CDC*) override {}
    };
    CCreateContext context{RuntimeClassOf<PlainView, CView>(), nullptr};
    CFrameWnd other;
    ASSERT_TRUE(other.LoadFrame(2, &context));
    other.InitialUpdateFrame(nullptr, CFrameWnd::Visibility::Show);
    backend.SetSystemColour(COLOR_WINDOW, Green);
    other.GetActiveView()->Invalidate(EraseBackground::Yes);
    EXPECT_EQ(backend.Screen(*other.GetActiveView()).PixelColour({5, 5}), Green);
}

TEST_F(PaintingTest, FontsMeasureEightBySixteenCellsAndAFontThatCannotBeMadeLeavesTheWindowFont)
{
    LOGFONT description;
    std::string("Courier New").copy(description.lfFaceName, 31);
    description.lfHeight = 16;
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&description));
    LOGFONT readBack;
    ASSERT_TRUE(font.GetLogFont(&readBack));
    EXPECT_STREQ(readBack.lfFaceName, "Courier New");

    backend.RefuseFontFace("Broken");
    description = LOGFONT{};
    std::string("Broken").copy(description.lfFaceName, 31);
    CFont broken;
    EXPECT_FALSE(broken.CreateFontIndirect(&description));
    EXPECT_EQ(broken.GetSafeHandle(), nullptr);

    CClientDC dc(view);
    dc.SelectObject(&broken);
    EXPECT_EQ(dc.GetTextExtent("X"), CSize(8, 16));
    EXPECT_EQ(dc.GetCurrentFont()->GetSafeHandle(), view->GetFont()->GetSafeHandle());
    dc.SelectObject(&font);
    EXPECT_EQ(dc.GetTextExtent("abc"), CSize(24, 16));
}

TEST_F(PaintingTest, ResizingGivesANewClientAreaAndAFullRepaint)
{
    const int paints = view->paints;
    backend.Resize(*view, {320, 160});
    CRect client;
    view->GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 320, 160));
    EXPECT_EQ(backend.Peer(*view).InvalidRect(), client);
    backend.PaintAll();
    EXPECT_EQ(view->paints, paints + 1);
}

}  // namespace

namespace {

TEST_F(PaintingTest, IconsComeFromTheThemeAndAreDrawnNormallyOrInTheDisabledLook)
{
    EXPECT_EQ(LoadThemeIcon("okular", IconSize::Small), nullptr) << "the theme has no such icon";
    backend.AddThemeIcon("okular", platform::BitmapResource{2, 2, {Red, Red, Blue, Blue}});
    const HICON icon = LoadThemeIcon("okular", IconSize::Small);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->Size(), CSize(16, 16));
    const HICON executable = LoadExecutableIcon(IconSize::Large);
    EXPECT_EQ(executable->Size(), CSize(32, 32));

    view->draw = [&](CDC* dc) {
        dc->FillSolidRect(CRect(0, 0, 200, 100), White);
        EXPECT_TRUE(dc->DrawIcon({0, 0}, icon));
        EXPECT_TRUE(dc->DrawDisabledIcon({20, 0}, icon));
        EXPECT_TRUE(dc->DrawIcon({40, 0}, executable));
        EXPECT_FALSE(dc->DrawIcon({80, 0}, nullptr));
    };
    view->Invalidate();
    EXPECT_EQ(Screen().PixelColour({0, 0}), Red);
    EXPECT_EQ(Screen().PixelColour({15, 15}), Blue) << "scaled to the small size";
    EXPECT_EQ(Screen().PixelColour({16, 0}), White);
    const COLORREF disabled = Screen().PixelColour({20, 0});
    EXPECT_EQ(GetRValue(disabled), GetGValue(disabled));
    EXPECT_EQ(GetGValue(disabled), GetBValue(disabled));
    EXPECT_EQ(disabled, platform::headless::DisabledLook(Red));
    EXPECT_EQ(Screen().PixelColour({71, 31}), platform::headless::ExecutableIconColour);
}

}  // namespace
