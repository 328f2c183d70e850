#include "text_view_fixture.h"
#include "numbered_lines.h"

namespace views_test {
namespace {

class TextViewScrollingTest : public TextViewTest {
protected:
    void SetNumberedLines(int count) { SetText(NumberedLines(count)); }

    const SCROLLINFO& Bar(int bar) { return backend.Peer(*view).ScrollBar(bar); }
};

TEST_F(TextViewScrollingTest, VerticalBarCoversTheLinesWithAPageOfTheVisibleOnes)
{
    SetNumberedLines(20);
    EXPECT_EQ(view->VisibleLineCount(), Rows);
    EXPECT_EQ(Bar(SB_VERT).nMin, 0);
    EXPECT_EQ(Bar(SB_VERT).nMax, 19);
    EXPECT_EQ(Bar(SB_VERT).nPage, static_cast<UINT>(Rows));
    EXPECT_EQ(Bar(SB_VERT).nPos, 0);
    EXPECT_TRUE(backend.Peer(*view).IsScrollBarEnabled(SB_VERT));
}

TEST_F(TextViewScrollingTest, BarsAreDisabledWhileEverythingFits)
{
    SetNumberedLines(3);
    EXPECT_FALSE(backend.Peer(*view).IsScrollBarEnabled(SB_VERT));
    EXPECT_FALSE(backend.Peer(*view).IsScrollBarEnabled(SB_HORZ));
    InsertAt({0, 2}, std::string(Columns + 10, 'x'));
    EXPECT_TRUE(backend.Peer(*view).IsScrollBarEnabled(SB_HORZ));
    EXPECT_EQ(Bar(SB_HORZ).nMax, Columns + 10 + 5 - 1);
    EXPECT_EQ(Bar(SB_HORZ).nPage, static_cast<UINT>(Columns));
}

// Measured over the whole text when it is read anew (here: in another encoding).
TEST_F(TextViewScrollingTest, TheHorizontalRangeIsTheWidestLineInColumns)
{
    struct Case {
        const char* what;
        std::string text;
        TextEncoding encoding;
        int widest;
    };
    const std::string longLine(Columns + 20, 'x');
    const Case cases[] = {
        {"the longest line", "short\n" + longLine + "\nshort", TextEncoding::Legacy, Columns + 20},
        {"a shorter line of tabs after it", longLine + "\n\t\t\t\t\t\t\t\t\t\t\t\t\t\t", TextEncoding::Legacy, 4 * 14},
        {"every legacy byte is a column", std::string(Columns + 4, 'y') + "\n" + std::string(Columns + 2, 'z') +
             std::string(6, '\xC3') , TextEncoding::Legacy, Columns + 8},
        {"a two-byte character is one column", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
             "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\n" + std::string(Columns + 1, 'w'),
         TextEncoding::Utf8, Columns + 1},
        {"a wide character is two", std::string(Columns, 'v') + "\n" + std::string(Columns - 4, 'u') + "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD",
         TextEncoding::Utf8, Columns + 2},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        SetText(test.text);
        buffer.SetEncoding(test.encoding == TextEncoding::Utf8 ? TextEncoding::Legacy : TextEncoding::Utf8);
        buffer.SetEncoding(test.encoding);
        EXPECT_EQ(Bar(SB_HORZ).nMax, test.widest - 1);
    }
}

TEST_F(TextViewScrollingTest, ScrollBarRequestsMoveTheTopLine)
{
    SetNumberedLines(40);
    backend.ScrollBarAction(*view, SB_VERT, SB_LINEDOWN);
    EXPECT_EQ(view->TopLine(), 1);
    EXPECT_EQ(RowText(0, 5), "line1");
    backend.ScrollBarAction(*view, SB_VERT, SB_PAGEDOWN);
    EXPECT_EQ(view->TopLine(), 1 + Rows - 1);
    backend.ScrollBarAction(*view, SB_VERT, SB_THUMBTRACK, 30);
    EXPECT_EQ(view->TopLine(), 30);
    EXPECT_EQ(Bar(SB_VERT).nPos, 30);
    EXPECT_EQ(RowText(0, 6), "line30");
    EXPECT_EQ(RowText(5, 6), "line35");
    backend.ScrollBarAction(*view, SB_VERT, SB_TOP);
    EXPECT_EQ(view->TopLine(), 0);
    backend.ScrollBarAction(*view, SB_VERT, SB_LINEUP);
    EXPECT_EQ(view->TopLine(), 0);
    backend.ScrollBarAction(*view, SB_VERT, SB_BOTTOM);
    EXPECT_EQ(view->TopLine(), 40 - Rows + 1);
    EXPECT_EQ(RowText(Rows - 1, 6), "      ");
}

TEST_F(TextViewScrollingTest, WheelScrollsFiveLinesPerNotch)
{
    SetNumberedLines(40);
    backend.MouseWheel(*view, -240, CPoint(30, 30));
    EXPECT_EQ(view->TopLine(), 10);
    EXPECT_EQ(RowText(0, 6), "line10");
    backend.MouseWheel(*view, 60, CPoint(30, 30));
    EXPECT_EQ(view->TopLine(), 10);
    backend.MouseWheel(*view, 120, CPoint(30, 30));
    EXPECT_EQ(view->TopLine(), 5);
    backend.MouseWheel(*view, 1200, CPoint(30, 30));
    EXPECT_EQ(view->TopLine(), 0);
    backend.MouseWheel(*view, -12000, CPoint(30, 30));
    EXPECT_EQ(view->TopLine(), 39);
}

TEST_F(TextViewScrollingTest, HorizontalBarScrollsColumnsAndKeepsTheMargin)
{
    SetText(std::string("0123456789") + "abcdefghijklmnopqrstuvwxyz" + "ABCDEFGHIJ");
    backend.ScrollBarAction(*view, SB_HORZ, SB_THUMBPOSITION, 10);
    EXPECT_EQ(view->FirstColumn(), 10);
    EXPECT_EQ(Bar(SB_HORZ).nPos, 10);
    EXPECT_EQ(RowText(0, 3), "abc");
    EXPECT_EQ(Pixel(3, 3), ScrollBarColour);
    backend.ScrollBarAction(*view, SB_HORZ, SB_THUMBPOSITION, 1000);
    EXPECT_EQ(view->FirstColumn(), 45);
    EXPECT_EQ(RowText(0, 2), "J ");
}

TEST_F(TextViewScrollingTest, TopLineFollowsLinesRemovedAboveIt)
{
    SetNumberedLines(40);
    view->ScrollToLine(20, ScrollBarTracking::Move);
    ASSERT_TRUE(buffer.DeleteText(nullptr, 2, 0, 7, 0, UndoAction::Delete));
    EXPECT_EQ(view->TopLine(), 15);
    EXPECT_EQ(RowText(0, 6), "line20");
    EXPECT_EQ(Bar(SB_VERT).nMax, 34);
}

TEST_F(TextViewScrollingTest, ShrinkingTextBackToOneScreenScrollsToTheTop)
{
    SetNumberedLines(40);
    view->ScrollToLine(30, ScrollBarTracking::Move);
    ASSERT_TRUE(buffer.DeleteText(nullptr, 2, 0, 39, 0, UndoAction::Delete));
    EXPECT_EQ(view->TopLine(), 0);
    EXPECT_EQ(RowText(0, 5), "line0");
    EXPECT_EQ(RowText(2, 6), "line39");
}

} // namespace
} // namespace views_test
