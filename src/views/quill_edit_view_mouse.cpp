#include "views/quill_edit_view.h"

#include "buffer/undo_action.h"
#include "platform/clipboard.h"

void CQuillEditView::OnMButtonDown(UINT flags, CPoint point)
{
    CQuillTextView::OnMButtonDown(flags, point);
    if (!IsEditable())
        return;
    const std::optional<std::string> unicodeText = platform::clipboard::PrimarySelection();
    std::string text;
    if (!unicodeText || unicodeText->empty() || !DocumentTextOfUnicode(*unicodeText, text))
        return;
    const TextPosition position = PointToText(SnapPoint(point));
    InsertAndPlaceCaret(position, text, UndoAction::Paste);
}
