#pragma once

#include "buffer/quill_text_buffer.h"
#include "buffer/undo_action.h"
#include "platform/frame_wnd.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_window.h"
#include "views/quill_text_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace views_test {

using platform::headless::Cell;
using platform::headless::CellHeight;
using platform::headless::CellWidth;

// Colours distinct from each other, so that every slot can be told apart on the screen.
constexpr COLORREF WindowColour = RGB(250, 250, 240);
constexpr COLORREF WindowTextColour = RGB(10, 10, 20);
constexpr COLORREF ScrollBarColour = RGB(200, 190, 180);
constexpr COLORREF KeywordColour = RGB(0, 0, 255);
constexpr COLORREF CommentColour = RGB(0, 128, 0);
constexpr COLORREF SelBackgroundColour = RGB(0, 0, 0);
constexpr COLORREF SelTextColour = RGB(255, 255, 255);

// A text view whose colouring the test scripts, and which records the lines it parses: for
// painting (with spans) and for their end state only.
class ScriptedTextView : public CQuillTextView {
public:
    using Scanner = std::function<std::uint32_t(std::uint32_t state, int line, std::vector<ColourSpan>* spans)>;

    Scanner scanner;
    std::vector<int> paintedLines;
    std::vector<int> stateParsedLines;

    std::uint32_t ScanLine(std::uint32_t state, int line, std::vector<ColourSpan>* spans) override
    {
        (spans != nullptr ? paintedLines : stateParsedLines).push_back(line);
        return scanner ? scanner(state, line, spans) : 0;
    }

    void ForgetScans()
    {
        paintedLines.clear();
        stateParsedLines.clear();
    }
};

// A frame with one scripted text view of `Columns` text columns and `Rows` bands, bound to a plain
// buffer.
class TextViewTest : public testing::Test {
protected:
    static constexpr int Columns = 30;
    static constexpr int Rows = 6;
    static constexpr int Margin = 20;

    void SetUp() override;

    // Replaces the text; lines are separated by "\n".
    void SetText(const std::string& text);
    void InsertAt(TextPosition position, const std::string& text);
    void GiveFocus();

    const platform::headless::CellSurface& Screen() { return backend.Screen(*view); }
    // The cell of a text column in a band.
    Cell TextCell(int column, int row) { return Screen().CellAt({Margin + column * CellWidth + 1, row * CellHeight + 1}); }
    std::string RowText(int row, int count = Columns) { return Screen().TextAt({Margin, row * CellHeight}, count); }
    COLORREF Pixel(int x, int y) { return Screen().PixelColour({x, y}); }
    void Repaint();

    platform::headless::HeadlessBackend backend;
    CQuillTextBuffer buffer;
    CFrameWnd frame;
    ScriptedTextView* view = nullptr;
};

} // namespace views_test
