#pragma once

#include "platform/accelerators.h"
#include "platform/geometry.h"

#include <vector>

class CDC;
class CDocument;
class CWnd;
class CQuillTextBuffer;
class CQuillEditView;
struct Snippet;

// What the LaTeX and the HTML view share: the margin guide, the document's buffer and their own key
// tables.

// The guide after text column 75: a one-pixel segment in the upper half of the band, so that the
// bands together draw a dashed rule that scrolls with the text. Nothing is drawn once it has
// scrolled past the left edge of the text area.
void PaintMarginGuide(CDC& dc, const CRect& rect, int firstColumn, int charWidth);
inline constexpr int MarginGuideColumn = 75;
inline constexpr COLORREF MarginGuideColour = RGB(192, 192, 192);

// The text buffer of an editor document; null for any other document.
CQuillTextBuffer* DocumentBuffer(CDocument* document);

// A key-table entry for a key with Ctrl, Shift and Alt as given in `modifiers`.
ACCEL VirtualKeyEntry(BYTE modifiers, int virtualKey, UINT command);

// The key table resource `id`, registered from `entries` the first time a view asks for it.
HACCEL LoadViewKeyTable(UINT id, const std::vector<ACCEL>& entries);

// Offers a keyboard message to the view's own key table; true when it became a command.
bool TranslateViewKeys(CWnd& view, HACCEL table, MSG* message);

// Ctrl+F: formats the paragraph at the view's caret in one undo step and puts the caret at the end
// of its last line. Nothing happens on a blank line or in a text that cannot be edited.
void FormatParagraphAtCaret(CQuillEditView& view);

// An Insert command: the snippet replaces the selection (or goes in at the caret) as one undo step,
// and the caret goes inside it, counted from where it went in.
void InsertSnippet(CQuillEditView& view, const Snippet& snippet);
