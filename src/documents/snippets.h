#pragma once

#include "buffer/text_position.h"
#include "platform/win_types.h"

#include <span>
#include <string_view>

// The text the Insert commands put at the caret, and where the caret goes inside it.

// Where the caret's column is counted from: the point where the snippet was inserted (on the same
// line), or the start of the line.
enum class CaretColumn { AfterInsertionPoint, FromLineStart };

struct Snippet {
    UINT command = 0;
    std::string_view text;  // lines separated by "\r\n"
    int lineOffset = 0;     // the caret's line, counted from the insertion point's
    int column = 0;
    CaretColumn base = CaretColumn::AfterInsertionPoint;
};

std::span<const Snippet> LatexSnippets();
std::span<const Snippet> HtmlSnippets();

// Where the caret goes once `snippet` was inserted at `insertionPoint`.
TextPosition CaretAfterSnippet(const Snippet& snippet, TextPosition insertionPoint);
