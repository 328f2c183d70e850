#include "text_view_fixture.h"

#include "buffer/line_flags.h"
#include "platform/system_services.h"
#include "views/margin_images.h"

#include <optional>
#include <utility>
#include <vector>

namespace views_test {
namespace {

constexpr std::uint32_t NoChange = 0;

// Colours the line with the given spans whatever its text.
ScriptedTextView::Scanner FixedSpans(std::vector<ColourSpan> fixed)
{
    return [fixed](std::uint32_t, int, std::vector<ColourSpan>* spans) {
        if (spans != nullptr)
            spans->insert(spans->end(), fixed.begin(), fixed.end());
        return NoChange;
    };
}

using TextViewPaintingTest = TextViewTest;

TEST_F(TextViewPaintingTest, PlainTextIsNormalTextOnTheWindowColour)
{
    SetText("hello\nworld");
    EXPECT_EQ(RowText(0, 5), "hello");
    EXPECT_EQ(RowText(1, 5), "world");
    EXPECT_EQ(TextCell(0, 0), (Cell{'h', WindowTextColour, WindowColour}));
    EXPECT_EQ(TextCell(4, 1), (Cell{'d', WindowTextColour, WindowColour}));
    // Right of the last character the band is whitespace.
    EXPECT_EQ(TextCell(5, 0).byte, 0);
    EXPECT_EQ(Pixel(Margin + 5 * CellWidth, 0), WindowColour);
    EXPECT_EQ(Pixel(Margin + Columns * CellWidth - 1, CellHeight), WindowColour);
}

TEST_F(TextViewPaintingTest, BandsBelowTheLastLineAreWhitespaceWithAnEmptyMargin)
{
    SetText("one line");
    for (int row = 1; row < Rows; ++row) {
        EXPECT_EQ(RowText(row), std::string(Columns, ' ')) << row;
        EXPECT_EQ(Pixel(Margin + 3, row * CellHeight + 3), WindowColour) << row;
        EXPECT_EQ(Pixel(5, row * CellHeight + 8), ScrollBarColour) << row;
    }
}

TEST_F(TextViewPaintingTest, ViewWithoutBufferShowsOneEmptyLine)
{
    view->BindBuffer(nullptr);
    EXPECT_EQ(view->LineCount(), 1);
    EXPECT_EQ(view->LineLength(0), 0);
    EXPECT_EQ(view->LineFlags(0), 0u);
    Repaint();
    for (int row = 0; row < Rows; ++row) {
        EXPECT_EQ(RowText(row), std::string(Columns, ' '));
        EXPECT_EQ(Pixel(Margin + 40, row * CellHeight + 2), WindowColour);
    }
}

TEST_F(TextViewPaintingTest, BufferWithoutLinesPaintsEmptyBandsAndKeepsTheCaret)
{
    SetText("abc\ndef");
    buffer.Clear();
    Repaint();
    GiveFocus();
    CWnd::ReportFocusChange(nullptr);
    EXPECT_EQ(RowText(0, 3), "   ");
    EXPECT_EQ(view->ColumnOfChar(0, 2), 0);
}

// Each cell of the line's text, coloured by the spans and the selection: 'n' normal text, 'k'
// keyword, 'c' comment, 's' selected, '-' nothing drawn (the whitespace after the line).
TEST_F(TextViewPaintingTest, SpansAndTheSelectionColourTheirCharacters)
{
    struct Case {
        const char* what;
        std::vector<ColourSpan> spans;
        std::optional<std::pair<TextPosition, TextPosition>> selection;
        const char* cells;
    };
    const Case cases[] = {
        {"the start before the first span is normal",
         {{2, ColourSlot::Keyword}, {5, ColourSlot::Comment}, {8, ColourSlot::NormalText}}, std::nullopt, "nnkkkcccnn--"},
        {"a last span at the line's end paints nothing", {{0, ColourSlot::Keyword}, {10, ColourSlot::Comment}},
         std::nullopt, "kkkkkkkkkk--"},
        {"spans outside the line are kept inside",
         {{-3, ColourSlot::Keyword}, {2, ColourSlot::Comment}, {1, ColourSlot::Keyword}, {99, ColourSlot::Comment}},
         std::nullopt, "kkkkkkkkkk--"},
        {"selected characters", {}, std::pair{TextPosition{1, 0}, TextPosition{4, 0}}, "nsssnnnnnn--"},
        {"a selection splits a coloured run", {{0, ColourSlot::Keyword}}, std::pair{TextPosition{4, 0}, TextPosition{2, 0}},
         "kksskkkkkk--"},
    };
    const std::string text = "abcdefghij";
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        view->scanner = FixedSpans(test.spans);
        SetText(text);
        GiveFocus();
        if (test.selection)
            view->SelectRange(test.selection->first, test.selection->second);
        Repaint();
        for (int column = 0; test.cells[column] != '\0'; ++column) {
            const Cell cell = TextCell(column, 0);
            switch (test.cells[column]) {
            case '-':
                EXPECT_EQ(cell.byte, 0) << column;
                EXPECT_EQ(Pixel(Margin + column * CellWidth + 2, 2), WindowColour) << column;
                break;
            case 's':
                EXPECT_EQ(cell, (Cell{text[column], SelTextColour, SelBackgroundColour})) << column;
                break;
            default: {
                const COLORREF colour = test.cells[column] == 'k'   ? KeywordColour
                                        : test.cells[column] == 'c' ? CommentColour
                                                                    : WindowTextColour;
                EXPECT_EQ(cell, (Cell{text[column], colour, WindowColour})) << column;
            }
            }
        }
        view->SelectRange({0, 0}, {0, 0});
    }
}

TEST_F(TextViewPaintingTest, EverySlotHasItsColour)
{
    EXPECT_EQ(view->SlotColour(ColourSlot::Whitespace), WindowColour);
    EXPECT_EQ(view->SlotColour(ColourSlot::Background), WindowColour);
    EXPECT_EQ(view->SlotColour(ColourSlot::NormalText), WindowTextColour);
    EXPECT_EQ(view->SlotColour(ColourSlot::SelMargin), ScrollBarColour);
    EXPECT_EQ(view->SlotColour(ColourSlot::SelBackground), RGB(0, 0, 0));
    EXPECT_EQ(view->SlotColour(ColourSlot::SelText), RGB(255, 255, 255));
    EXPECT_EQ(view->SlotColour(ColourSlot::Keyword), RGB(0, 0, 255));
    EXPECT_EQ(view->SlotColour(ColourSlot::Comment), RGB(0, 128, 0));
    const std::vector<std::pair<int, COLORREF>> unnamed = {
        {8, RGB(128, 0, 0)},   {9, RGB(0, 0, 0)},     {10, RGB(128, 0, 128)}, {11, RGB(0, 128, 192)},
        {12, RGB(255, 0, 0)},  {13, RGB(255, 255, 0)}, {14, RGB(0, 128, 0)}, {15, RGB(255, 255, 0)},
        {16, RGB(255, 0, 0)},  {17, RGB(255, 0, 0)},  {18, RGB(255, 0, 0)},   {19, RGB(255, 0, 0)},
        {20, RGB(0, 0, 255)},  {21, RGB(0, 128, 128)}, {22, RGB(192, 0, 192)}, {23, RGB(192, 0, 0)},
    };
    for (const auto& [slot, colour] : unnamed)
        EXPECT_EQ(view->SlotColour(static_cast<ColourSlot>(slot)), colour) << slot;
    EXPECT_EQ(view->SlotColour(ColourSlot::HtmlTagName), RGB(128, 0, 128));
    EXPECT_EQ(view->SlotColour(ColourSlot::HtmlMarkup), RGB(0, 0, 255));
    EXPECT_EQ(view->SlotColour(ColourSlot::HtmlAttribute), RGB(255, 0, 0));
    EXPECT_EQ(view->SlotColour(ColourSlot::HtmlOtherName), RGB(255, 0, 255));
    for (const int outside : {-1, 28, 1000})
        EXPECT_EQ(view->SlotColour(static_cast<ColourSlot>(outside)), RGB(255, 0, 0)) << outside;
}

TEST_F(TextViewPaintingTest, SystemColoursAreReadAtEveryPaint)
{
    SetText("x");
    EXPECT_EQ(TextCell(0, 0).textColour, WindowTextColour);
    backend.SetSystemColour(COLOR_WINDOWTEXT, RGB(1, 2, 3));
    backend.SetSystemColour(COLOR_WINDOW, RGB(4, 5, 6));
    view->SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(TextCell(0, 0), (Cell{'x', RGB(1, 2, 3), RGB(4, 5, 6)}));
    EXPECT_EQ(Pixel(Margin + 100, 40), RGB(4, 5, 6));
}

TEST_F(TextViewPaintingTest, TabsExpandToTabStops)
{
    SetText("abc\td\n\tx\nabcd\ty");
    EXPECT_EQ(RowText(0, 6), "abc d ");
    EXPECT_EQ(RowText(1, 6), "    x ");
    EXPECT_EQ(RowText(2, 10), "abcd    y ");
    EXPECT_EQ(view->ColumnOfChar(2, 5), 8);
    EXPECT_EQ(view->CharAtColumn(1, 2), 0);
    EXPECT_EQ(view->CharAtColumn(1, 3), 1);
    EXPECT_EQ(view->ExpandedLineLength(2), 9);
    EXPECT_EQ(view->ExpandTabs(0, 3, 2), " d");
}

TEST_F(TextViewPaintingTest, SelectedLineBreakShowsOneCellAfterTheLastCharacter)
{
    SetText("ab\n\ncd");
    GiveFocus();
    view->SelectRange({1, 0}, {0, 2});
    // "b", then the selected line break of line 0 as one cell, then whitespace.
    EXPECT_EQ(TextCell(1, 0), (Cell{'b', SelTextColour, SelBackgroundColour}));
    EXPECT_EQ(Pixel(Margin + 2 * CellWidth + 3, 5), SelBackgroundColour);
    EXPECT_EQ(Pixel(Margin + 3 * CellWidth + 3, 5), WindowColour);
    // The empty line 1 is selected: one cell at its start.
    EXPECT_EQ(Pixel(Margin + 3, CellHeight + 5), SelBackgroundColour);
    EXPECT_EQ(Pixel(Margin + CellWidth + 3, CellHeight + 5), WindowColour);
    // On line 2 the selection ends before "c"; its line break is not selected.
    EXPECT_EQ(TextCell(0, 2), (Cell{'c', WindowTextColour, WindowColour}));
    EXPECT_EQ(Pixel(Margin + 2 * CellWidth + 3, 2 * CellHeight + 5), WindowColour);
    // Scrolled by a column, the cells of both line breaks move with the text.
    view->ScrollToColumn(1, ScrollBarTracking::Move);
    Repaint();
    EXPECT_EQ(Pixel(Margin + CellWidth + 3, 5), SelBackgroundColour);
    EXPECT_EQ(Pixel(Margin + 3, CellHeight + 5), WindowColour);
}

TEST_F(TextViewPaintingTest, SelectionShowsOnlyWithFocusOrWhenKeptVisible)
{
    SetText("abcdef");
    CWnd::ReportFocusChange(nullptr);
    ASSERT_FALSE(view->HasFocus());
    view->SelectRange({0, 0}, {3, 0});
    EXPECT_EQ(TextCell(1, 0), (Cell{'b', WindowTextColour, WindowColour}));
    view->SetSelectionVisibility(SelectionVisibility::Always);
    EXPECT_EQ(TextCell(1, 0), (Cell{'b', SelTextColour, SelBackgroundColour}));
    view->SetSelectionVisibility(SelectionVisibility::WithFocus);
    EXPECT_EQ(TextCell(1, 0), (Cell{'b', WindowTextColour, WindowColour}));
    GiveFocus();
    EXPECT_EQ(TextCell(1, 0), (Cell{'b', SelTextColour, SelBackgroundColour}));
    CWnd::ReportFocusChange(nullptr);
    EXPECT_FALSE(view->HasFocus());
    EXPECT_EQ(TextCell(1, 0), (Cell{'b', WindowTextColour, WindowColour}));
}

TEST_F(TextViewPaintingTest, MarginShowsTheImageOfTheLinesBookmark)
{
    SetText("a\nb\nc\nd");
    buffer.SetLineFlag(0, NumberedBookmarkFlag(3), FlagOperation::Set, FlagExclusivity::Exclusive);
    buffer.SetLineFlag(1, UnnumberedBookmarkFlag, FlagOperation::Set, FlagExclusivity::Shared);
    buffer.SetLineFlag(2, NumberedBookmarkFlag(0), FlagOperation::Set, FlagExclusivity::Exclusive);
    const auto strip = margin_images::DrawStrip();
    const auto expectImage = [&](int row, int image) {
        for (int y = 0; y < margin_images::ImageSize; ++y) {
            for (int x = 0; x < margin_images::ImageSize; ++x) {
                const COLORREF source = strip.Pixel(image * margin_images::ImageSize + x, y);
                const COLORREF expected = source == margin_images::MaskColour ? ScrollBarColour : source;
                ASSERT_EQ(Pixel(2 + x, row * CellHeight + y), expected) << row << " " << x << "," << y;
            }
        }
    };
    expectImage(0, 5);
    expectImage(1, 13);
    expectImage(2, 12);
    // A line without a bookmark has a plain margin, and the margin ends where the text begins.
    for (int x = 0; x < Margin; ++x)
        EXPECT_EQ(Pixel(x, 3 * CellHeight + 7), ScrollBarColour) << x;
    EXPECT_EQ(Pixel(Margin, 3 * CellHeight + 7), WindowColour);
}

TEST_F(TextViewPaintingTest, RemovedBookmarkDisappearsFromTheMargin)
{
    SetText("a\nb");
    buffer.SetLineFlag(1, NumberedBookmarkFlag(7), FlagOperation::Set, FlagExclusivity::Exclusive);
    const auto markedPixels = [&] {
        int count = 0;
        for (int y = CellHeight; y < 2 * CellHeight; ++y)
            for (int x = 0; x < Margin; ++x)
                count += Pixel(x, y) != ScrollBarColour ? 1 : 0;
        return count;
    };
    EXPECT_GT(markedPixels(), 40);
    buffer.SetLineFlag(1, NumberedBookmarkFlag(7), FlagOperation::Clear, FlagExclusivity::Exclusive);
    EXPECT_EQ(markedPixels(), 0);
}

TEST_F(TextViewPaintingTest, LineBitmapFollowsTheWindowWidth)
{
    SetText("abc");
    constexpr int WiderColumns = Columns + 12;
    backend.Resize(*view, CSize(Margin + WiderColumns * CellWidth, Rows * CellHeight));
    EXPECT_EQ(Screen().Size().cx, Margin + WiderColumns * CellWidth);
    EXPECT_EQ(Screen().TextAt({Margin, 0}, 4), "abc ");
    // The part beyond the old width is painted from the new, wider bitmap.
    for (int x = Margin + Columns * CellWidth; x < Margin + WiderColumns * CellWidth; x += 5)
        EXPECT_EQ(Pixel(x, 4), WindowColour) << x;
}

TEST_F(TextViewPaintingTest, FontThatCannotBeMadeFallsBackToTheWindowFont)
{
    backend.RefuseFontFace("Courier New");
    LOGFONT courier{};
    std::strcpy(courier.lfFaceName, "Courier New");
    courier.lfHeight = 16;
    view->ApplyFont(courier);
    SetText("still drawn");
    EXPECT_EQ(view->ViewFont(), view->GetFont());
    EXPECT_EQ(RowText(0, 11), "still drawn");
}

TEST_F(TextViewPaintingTest, InitialUpdateInstallsCourierNewOfCellHeightSixteen)
{
    const LOGFONT& font = view->ViewLogFont();
    EXPECT_STREQ(font.lfFaceName, "Courier New");
    EXPECT_EQ(font.lfHeight, 16);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(view->LineHeight(), CellHeight);
    EXPECT_EQ(view->CharWidth(), CellWidth);
    EXPECT_EQ(view->TabSize(), 4);
    EXPECT_EQ(view->MarginWidth(), Margin);
}

TEST_F(TextViewPaintingTest, HorizontalScrollMovesTheTextButNotTheMargin)
{
    SetText("0123456789abcdefghijklmnopqrstuvwxyzABCDEF");
    buffer.SetLineFlag(0, NumberedBookmarkFlag(1), FlagOperation::Set, FlagExclusivity::Exclusive);
    const COLORREF marginPixel = Pixel(9, 9);
    view->ScrollToColumn(10, ScrollBarTracking::Move);
    EXPECT_EQ(RowText(0, 5), "abcde");
    EXPECT_EQ(Pixel(9, 9), marginPixel);
    EXPECT_EQ(view->FirstColumn(), 10);
    view->Invalidate(EraseBackground::No);
    EXPECT_EQ(RowText(0, 5), "abcde");
}

// A paint of a narrow strip (what a horizontal scroll uncovers, a caret's place) shows there what
// a paint of the whole window shows.
TEST_F(TextViewPaintingTest, AStripPaintsWhatTheWholeWindowPaintsThere)
{
    struct Case {
        const char* what;
        TextEncoding encoding;
        int firstColumn;
        int left;   // text columns; negative ones are in the margin
        int right;
    };
    const Case cases[] = {
        {"inside a coloured run", TextEncoding::Legacy, 0, 3, 5},
        {"across the margin", TextEncoding::Legacy, 0, -1, 2},
        {"over a selected line end", TextEncoding::Legacy, 0, 21, 24},
        {"right of a selected line end", TextEncoding::Legacy, 0, 23, 30},
        {"scrolled, past runs left of it", TextEncoding::Legacy, 6, 8, 11},
        {"UTF-8, inside a run", TextEncoding::Utf8, 0, 4, 6},
        {"UTF-8, scrolled", TextEncoding::Utf8, 6, 1, 4},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        view->scanner = FixedSpans({{2, ColourSlot::Keyword}, {9, ColourSlot::Comment}});
        SetText("ab\tkeyword \xC3\xA9 comment\nsecond line \xE4\xB8\xAD\xE4\xB8\xAD of text");
        buffer.SetEncoding(test.encoding);
        GiveFocus();
        view->SelectRange({12, 0}, {3, 1});
        view->ScrollToColumn(test.firstColumn, ScrollBarTracking::Move);
        backend.SetSystemColour(COLOR_WINDOWTEXT, WindowTextColour);
        Repaint();
        // Changed colours without a repaint of their own: only the strip shows them.
        backend.SetSystemColour(COLOR_WINDOWTEXT, CommentColour);
        const CRect strip(Margin + test.left * CellWidth, 0, Margin + test.right * CellWidth, Rows * CellHeight);
        view->InvalidateRect(&strip, EraseBackground::No);
        backend.PaintAll();
        std::vector<Cell> stripCells;
        std::vector<COLORREF> stripPixels;
        for (int y = 0; y < strip.bottom; ++y) {
            for (int x = strip.left; x < strip.right; ++x) {
                stripCells.push_back(Screen().CellAt({x, y}));
                stripPixels.push_back(Pixel(x, y));
            }
        }
        Repaint();
        std::size_t index = 0;
        for (int y = 0; y < strip.bottom; ++y) {
            for (int x = strip.left; x < strip.right; ++x, ++index) {
                ASSERT_EQ(stripCells[index], Screen().CellAt({x, y})) << x << "," << y;
                ASSERT_EQ(stripPixels[index], Pixel(x, y)) << x << "," << y;
            }
        }
    }
}

} // namespace
} // namespace views_test
