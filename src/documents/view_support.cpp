#include "documents/view_support.h"

#include "buffer/document/quill_edit_doc.h"
#include "buffer/undo_action.h"
#include "buffer/undo_group.h"
#include "documents/paragraph_format.h"
#include "documents/snippets.h"
#include "platform/dc.h"
#include "platform/resources.h"
#include "platform/wnd.h"
#include "views/quill_edit_view.h"

namespace {

// The undo description number both edits of paragraph formatting are recorded with.
constexpr std::int32_t FormatParagraphAction = 15;

}  // namespace

void PaintMarginGuide(CDC& dc, const CRect& rect, int firstColumn, int charWidth)
{
    const int x = rect.left + (MarginGuideColumn - firstColumn) * charWidth;
    if (x < rect.left || x >= rect.right)
        return;
    dc.FillSolidRect(CRect(x, rect.top, x + 1, rect.top + rect.Height() / 2), MarginGuideColour);
}

CQuillTextBuffer* DocumentBuffer(CDocument* document)
{
    auto* editorDocument = dynamic_cast<CQuillEditDoc*>(document);
    return editorDocument == nullptr ? nullptr : &editorDocument->Buffer();
}

ACCEL VirtualKeyEntry(BYTE modifiers, int virtualKey, UINT command)
{
    return ACCEL{static_cast<BYTE>(FVIRTKEY | modifiers), static_cast<WORD>(virtualKey), static_cast<WORD>(command)};
}

HACCEL LoadViewKeyTable(UINT id, const std::vector<ACCEL>& entries)
{
    if (platform::resources::FindAccelerators(id) == nullptr)
        platform::resources::AddAccelerators(id, entries);
    return LoadAccelerators(id);
}

bool TranslateViewKeys(CWnd& view, HACCEL table, MSG* message)
{
    if (message->message < WM_KEYFIRST || message->message > WM_KEYLAST || table == nullptr)
        return false;
    return TranslateAccelerator(view.GetSafeHwnd(), table, message) != 0;
}

void FormatParagraphAtCaret(CQuillEditView& view)
{
    if (!view.IsEditable())
        return;
    CQuillTextBuffer& buffer = *view.Buffer();
    const auto replacement = FormatParagraph(buffer, view.CaretPos().line);
    if (!replacement)
        return;
    const TextPosition start = replacement->start;
    const TextPosition end = replacement->end;
    TextPosition inserted;
    UndoGroup group(buffer, &view, UndoGroupMerge::NewGroup);
    buffer.DeleteText(&view, start.line, start.character, end.line, end.character, FormatParagraphAction);
    buffer.InsertText(&view, start.line, start.character, replacement->text, inserted.line, inserted.character,
                      FormatParagraphAction);
    group.Close();
    view.PlaceCaretAt(replacement->caret);
}

void InsertSnippet(CQuillEditView& view, const Snippet& snippet)
{
    if (const auto insertionPoint = view.InsertOverSelection(snippet.text, UndoAction::Typing))
        view.PlaceCaretAt(CaretAfterSnippet(snippet, *insertionPoint));
}
