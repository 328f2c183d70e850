#include "buffer/undo_action.h"
#include "documents/html_doc.h"
#include "documents/html_command_ids.h"
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
public:
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

    // The whole text with "\r\n" between lines; one line of it.
    std::string Text()
    {
        const CQuillTextBuffer& buffer = document.Buffer();
        std::string text;
        buffer.ExtractText(0, 0, buffer.LineCount() - 1, buffer.LineLength(buffer.LineCount() - 1), text);
        return text;
    }
    std::string Line(int line)
    {
        const CQuillTextBuffer& buffer = document.Buffer();
        return std::string(buffer.LineChars(line), static_cast<std::size_t>(buffer.LineLength(line)));
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

// An insert command on line 1 between "a" and "b": the snippet lands there, the caret where given.
struct InsertCase {
    UINT command;
    std::string snippet;
    TextPosition caret;
};

template <class Fixture>
void CheckInsertCommands(Fixture& test, const std::vector<InsertCase>& cases)
{
    CQuillTextBuffer& buffer = test.document.Buffer();
    for (const InsertCase& example : cases) {
        buffer.CreateEmpty(LineEndingStyle::Lf);
        test.view->OnInitialUpdate();
        test.Type("first\rab\rlast");
        test.view->SetCaretPos({1, 1});
        test.view->SendMessage(WM_COMMAND, example.command);
        EXPECT_EQ(test.Text(), "first\r\na" + example.snippet + "b\r\nlast") << example.command;
        EXPECT_EQ(test.view->CaretPos(), example.caret) << example.command;
        EXPECT_FALSE(test.view->HasSelection()) << example.command;
        // One undo step takes it out again.
        TextPosition caret;
        ASSERT_TRUE(buffer.Undo(caret));
        EXPECT_EQ(test.Text(), "first\r\nab\r\nlast") << example.command;
    }
}

TEST_F(LatexViewTest, InsertCommandsPutTheirSnippetAndTheCaretInsideIt)
{
    CheckInsertCommands(*this, {
        {ID_INSERT_BOLD, "{\\bf }", {6, 1}},
        {ID_INSERT_ITALIC, "\\e{}", {4, 1}},
        {ID_INSERT_ENUMERATION, "\\begin{enumerate}\r\n\\item \r\n\\end{enumerate}\r\n", {6, 2}},
        {ID_INSERT_ITEM_LIST, "\\begin{itemize}\r\n\\item \r\n\\end{itemize}\r\n", {6, 2}},
        {ID_INSERT_NEXT_ITEM, "\\item ", {7, 1}},
        {ID_INSERT_INLINE_MATH, "$$", {2, 1}},
        {ID_INSERT_DISPLAYED_MATH, "$$\r\n\r\n$$\r\n", {0, 2}},
        {ID_INSERT_EQUATION, "%\r\n\\begin{equation}\r\n\\label{eq:}\r\n\r\n\\end{equation}\r\n%\r\n", {0, 4}},
        {ID_INSERT_TABLE,
         "\\begin{table}[hbt]\r\n\\centering\r\n\\begin{tabular}{}\r\n\r\n\\end{tabular}\r\n\\label{fig:}\r\n\\end{table}\r\n",
         {0, 4}},
        {ID_INSERT_SECTION, "\\section{}\r\n", {10, 1}},
        {ID_INSERT_SUBSECTION, "\\subsection{}\r\n", {13, 1}},
        {ID_INSERT_SUBSUBSECTION, "\\subsubsection{}\r\n", {16, 1}},
        {ID_INSERT_CODE, "\\code{}", {7, 1}},
    });
}

TEST_F(HtmlViewTest, InsertCommandsPutTheirTagsAndTheCaretInsideThem)
{
    CheckInsertCommands(*this, {
        {ID_INSERT_BOLD, "<b></b>", {4, 1}},
        {ID_INSERT_ITALIC, "<i></i>", {4, 1}},
        {ID_INSERT_ENUMERATION, "<ol>\r\n<li>\r\n</ol>\r\n", {4, 2}},
        {ID_INSERT_ITEM_LIST, "<ul>\r\n<li>\r\n</ul>\r\n", {4, 2}},
        {ID_INSERT_NEXT_ITEM, "<li>", {5, 1}},
        {ID_INSERT_DEFINITION_ITEM, "<dt>\r\n<dd>", {5, 1}},
        {ID_INSERT_TABLE, "<table>\r\n<tr><td>\r\n</table>\r\n", {8, 2}},
        {ID_INSERT_CODE, "<code></code>", {7, 1}},
        {ID_INSERT_LINK, "<a href=\"\"></a>", {10, 1}},
    });
}

TEST_F(LatexViewTest, InsertsReplaceTheSelectionAndFollowTheirKeys)
{
    Type("line 0\r\tline 1\r\r\ttail");
    view->SetFocus();
    // Bold with the caret at column 4 of an indented line, from its key.
    view->SetCaretPos({4, 1});
    backend.PressKey('B', {VK_CONTROL});
    EXPECT_EQ(Text(), "line 0\r\n\tlin{\\bf }e 1\r\n\r\n\ttail");
    EXPECT_EQ(view->CaretPos(), (TextPosition{9, 1}));
    // Enumeration on the empty line 2: the caret after "\item " on line 3.
    view->SetCaretPos({0, 2});
    backend.PressKey('E', {VK_CONTROL});
    EXPECT_EQ(view->CaretPos(), (TextPosition{6, 3}));
    EXPECT_EQ(Line(3), "\\item ");
    // A selection is replaced; the caret counts from where the snippet went in.
    view->SelectRange({1, 0}, {6, 0});
    backend.PressKey('D', {VK_CONTROL});
    EXPECT_EQ(Line(0), "l$$");
    EXPECT_EQ(Line(2), "$$");
    EXPECT_EQ(view->CaretPos(), (TextPosition{0, 1}));
    // Ctrl+A stays the editor's Select All; Ctrl+Shift+P without "\begin{document}" does nothing.
    backend.PressKey('A', {VK_CONTROL});
    EXPECT_EQ(Line(0), "l$$");
    EXPECT_TRUE(view->HasSelection());
    backend.PressKey('P', {VK_CONTROL, VK_SHIFT});
    EXPECT_FALSE(document.m_bProcessing);
}

TEST_F(HtmlViewTest, ControlShiftALinksWhileControlASelectsAll)
{
    Type("text");
    view->SetFocus();
    view->SetCaretPos({0, 0});
    backend.PressKey('I', {VK_CONTROL});
    EXPECT_EQ(view->CaretPos(), (TextPosition{3, 0}));
    backend.PressKey('A', {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(Line(0), "<i><a href=\"\"></a></i>text");
    EXPECT_EQ(view->CaretPos(), (TextPosition{12, 0}));
    backend.PressKey('A', {VK_CONTROL});
    EXPECT_TRUE(view->HasSelection());
    EXPECT_EQ(Line(0), "<i><a href=\"\"></a></i>text");
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
