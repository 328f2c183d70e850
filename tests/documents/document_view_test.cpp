#include "buffer/undo_action.h"
#include "documents/html_doc.h"
#include "documents/html_view.h"
#include "documents/latex_doc.h"
#include "documents/latex_view.h"
#include "documents/view_support.h"
#include "platform/frame_wnd.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_window.h"
#include "platform/system_services.h"
#include "platform/virtual_keys.h"

#include <gtest/gtest.h>

namespace {

using platform::headless::Cell;
using platform::headless::CellHeight;
using platform::headless::CellWidth;

constexpr COLORREF Window = RGB(255, 255, 250);
constexpr COLORREF WindowText = RGB(5, 5, 5);
constexpr COLORREF Margin = RGB(210, 210, 210);
constexpr COLORREF Keyword = RGB(0, 0, 255);
constexpr COLORREF Comment = RGB(0, 128, 0);
constexpr COLORREF Guide = RGB(192, 192, 192);

struct LatexTypes {
    using Document = CLatexDoc;
    using View = CLatexView;
};
struct HtmlTypes {
    using Document = CHtmlDoc;
    using View = CHtmlView;
};

// The LaTeX and the HTML view in a frame of their own, on a document of their type.
template <class Types>
class DocumentViewTest : public testing::Test {
protected:
    static constexpr int Columns = 80;
    static constexpr int Rows = 4;
    static constexpr int MarginWidth = 20;

    void SetUp() override
    {
        backend.SetSystemColour(COLOR_WINDOW, Window);
        backend.SetSystemColour(COLOR_WINDOWTEXT, WindowText);
        backend.SetSystemColour(COLOR_SCROLLBAR, Margin);
        ASSERT_TRUE(document.OnNewDocument());
        CCreateContext context{RuntimeClassOf<typename Types::View, CView>(), &document};
        ASSERT_TRUE(frame.LoadFrame(1, &context));
        frame.InitialUpdateFrame(&document, CFrameWnd::Visibility::Show);
        view = dynamic_cast<typename Types::View*>(frame.GetActiveView());
        ASSERT_NE(view, nullptr);
        backend.Resize(*view, CSize(MarginWidth + Columns * CellWidth, Rows * CellHeight));
    }

    void Type(const std::string& text)
    {
        std::int32_t endLine = 0;
        std::int32_t endChar = 0;
        ASSERT_TRUE(document.Buffer().InsertText(nullptr, 0, 0, text, endLine, endChar, UndoAction::Typing));
    }

    const platform::headless::CellSurface& Screen() { return backend.Screen(*view); }
    Cell TextCell(int column, int row)
    {
        return Screen().CellAt({MarginWidth + column * CellWidth + 1, row * CellHeight + 1});
    }
    COLORREF Pixel(int x, int y) { return Screen().PixelColour({x, y}); }
    int GuideX(int firstColumn) const { return MarginWidth + (MarginGuideColumn - firstColumn) * CellWidth; }

    platform::headless::HeadlessBackend backend;
    typename Types::Document document;
    CFrameWnd frame;
    typename Types::View* view = nullptr;
};

using LatexViewTest = DocumentViewTest<LatexTypes>;
using HtmlViewTest = DocumentViewTest<HtmlTypes>;
template <class Types>
using GuideTest = DocumentViewTest<Types>;
using ViewTypes = testing::Types<LatexTypes, HtmlTypes>;
TYPED_TEST_SUITE(GuideTest, ViewTypes);

TEST_F(LatexViewTest, ShowsTheDocumentsBuffer)
{
    EXPECT_EQ(view->FindBuffer(), &document.Buffer());
    EXPECT_EQ(view->Buffer(), &document.Buffer());
    Type("hello");
    EXPECT_EQ(Screen().TextAt({MarginWidth, 0}, 6), "hello ");
    EXPECT_TRUE(document.IsModified());
    EXPECT_FALSE(document.m_bProcessing);
}

TEST_F(LatexViewTest, ControlSequencesAreBlueAndCommentsGreen)
{
    Type("\\section{Intro} text % note\rplain \\emph{a\rb} 50\\% done");
    const std::string first = "\\section{Intro} text % note";
    for (int column = 0; column < static_cast<int>(first.size()); ++column) {
        const COLORREF expected = column < 15 ? Keyword : column < 21 ? WindowText : Comment;
        EXPECT_EQ(TextCell(column, 0), (Cell{first[static_cast<std::size_t>(column)], expected, Window})) << column;
    }
    // The argument left open on line 1 goes on at the start of line 2.
    EXPECT_EQ(TextCell(5, 1).textColour, WindowText);
    EXPECT_EQ(TextCell(6, 1).textColour, Keyword);
    EXPECT_EQ(TextCell(0, 2), (Cell{'b', Keyword, Window}));
    EXPECT_EQ(TextCell(1, 2), (Cell{'}', Keyword, Window}));
    EXPECT_EQ(TextCell(2, 2).textColour, WindowText);
    EXPECT_EQ(TextCell(5, 2), (Cell{'\\', Keyword, Window}));
    EXPECT_EQ(TextCell(6, 2), (Cell{'%', Keyword, Window}));
    EXPECT_EQ(TextCell(8, 2).textColour, WindowText);
}

TYPED_TEST(GuideTest, GuideMarksTheUpperHalfOfEveryBandAfterColumn75)
{
    this->Type(std::string(78, 'x') + "\rshort");
    for (int row = 0; row < TestFixture::Rows; ++row) {
        const int top = row * CellHeight;
        EXPECT_EQ(this->Pixel(this->GuideX(0), top), Guide) << row;
        EXPECT_EQ(this->Pixel(this->GuideX(0), top + CellHeight / 2 - 1), Guide) << row;
        EXPECT_NE(this->Pixel(this->GuideX(0), top + CellHeight / 2), Guide) << row;
        EXPECT_NE(this->Pixel(this->GuideX(0) + 1, top + 2), Guide) << row;
        EXPECT_NE(this->Pixel(this->GuideX(0) - 1, top + 2), Guide) << row;
    }
    // Rows 2 and 3 lie below the last line; under their segments the band stays whitespace.
    EXPECT_EQ(this->Pixel(this->GuideX(0), 3 * CellHeight + CellHeight / 2 + 1), Window);
}

TYPED_TEST(GuideTest, GuideScrollsWithTheText)
{
    this->Type(std::string(200, 'x'));
    this->view->ScrollToColumn(5, ScrollBarTracking::Move);
    EXPECT_EQ(this->Pixel(this->GuideX(5), 2), Guide);
    EXPECT_NE(this->Pixel(this->GuideX(0), 2), Guide);
}

TYPED_TEST(GuideTest, GuideScrolledPastTheTextAreaIsNotDrawnOverTheMargin)
{
    this->Type(std::string(200, 'x'));
    this->view->ScrollToColumn(77, ScrollBarTracking::Move);
    this->view->Invalidate(EraseBackground::No);
    for (int y = 0; y < TestFixture::Rows * CellHeight; ++y) {
        for (int x = 0; x < TestFixture::MarginWidth + TestFixture::Columns * CellWidth; ++x)
            ASSERT_NE(this->Pixel(x, y), Guide) << x << "," << y;
    }
    EXPECT_EQ(this->Pixel(TestFixture::MarginWidth - 4, 3), Margin);
}

template <class Types>
using ViewCommandTest = DocumentViewTest<Types>;
TYPED_TEST_SUITE(ViewCommandTest, ViewTypes);

TYPED_TEST(ViewCommandTest, ControlFFormatsTheParagraphAtTheCaretAsOneUndoStep)
{
    this->Type("before\r\rone  two\r\tnot this\r");
    CQuillTextBuffer& buffer = this->document.Buffer();
    this->view->SetFocus();
    this->view->SetCaretPos({3, 2});
    this->backend.PressKey('F', {VK_CONTROL});
    std::string text;
    buffer.ExtractText(0, 0, buffer.LineCount() - 1, buffer.LineLength(buffer.LineCount() - 1), text);
    EXPECT_EQ(text, "before\r\n\r\none two\r\n\tnot this\r\n");
    EXPECT_EQ(this->view->CaretPos(), (TextPosition{7, 2}));

    // A blank line: nothing.
    this->view->SetCaretPos({0, 1});
    this->backend.PressKey('F', {VK_CONTROL});
    EXPECT_EQ(buffer.LineCount(), 5);

    TextPosition caret;
    ASSERT_TRUE(buffer.Undo(caret));
    buffer.ExtractText(0, 0, buffer.LineCount() - 1, buffer.LineLength(buffer.LineCount() - 1), text);
    EXPECT_EQ(text, "before\r\n\r\none  two\r\n\tnot this\r\n");
}

TEST_F(HtmlViewTest, PaintsTheHtmlColoursInItsOwnFont)
{
    const LOGFONT& font = view->ViewLogFont();
    EXPECT_STREQ(font.lfFaceName, "Courier New");
    EXPECT_EQ(font.lfHeight, 14);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfCharSet, EASTEUROPE_CHARSET);
    EXPECT_EQ(view->FindBuffer(), &document.Buffer());

    Type("<a href=\"x\">&amp; <!-- c\rstill -->t");
    const std::string first = "<a href=\"x\">&amp; <!-- c";
    const std::string colours = "MTMAAAAMMMMMAAAAANCCCCCC";
    for (int column = 0; column < static_cast<int>(first.size()); ++column) {
        const char slot = colours[static_cast<std::size_t>(column)];
        const COLORREF expected = slot == 'M' ? RGB(0, 0, 255) : slot == 'T' ? RGB(128, 0, 128)
                                : slot == 'A' ? RGB(255, 0, 0) : slot == 'C' ? Comment : WindowText;
        EXPECT_EQ(TextCell(column, 0), (Cell{first[static_cast<std::size_t>(column)], expected, Window})) << column;
    }
    // The comment goes on over the line break.
    EXPECT_EQ(TextCell(0, 1).textColour, Comment);
    EXPECT_EQ(TextCell(8, 1).textColour, Comment);
    EXPECT_EQ(TextCell(9, 1).textColour, WindowText);
}

} // namespace
