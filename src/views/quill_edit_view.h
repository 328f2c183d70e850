#pragma once

#include "buffer/text_position.h"
#include "buffer/undo_history.h"
#include "platform/drag_drop.h"
#include "views/quill_text_view.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

class EditDropTarget;

// The editable view: typing in insert and overwrite mode, Enter with automatic indentation, Delete
// and Backspace, Tab and Shift+Tab as block indent and unindent, cut and paste, undo and redo, and
// text dropped onto it. Every change goes through InsertText and DeleteText of the bound buffer with
// an undo action code, and only while IsEditable.
class CQuillEditView : public CQuillTextView {
public:
    CQuillEditView();
    ~CQuillEditView() override;

    void ResetViewState() override;
    void EditNotify(std::int32_t action, std::string_view text) override;
    // A buffer is bound and it is not read-only.
    virtual bool IsEditable() const;
    // Text dragged from here may be copied or moved; a move deletes it here once it is dropped.
    DROPEFFECT DragSourceEffects() const override;
    void OnDragSourceDone(DROPEFFECT effect) override;

    // The insert-text operation of the commands that insert text: the text replaces the selection (or
    // goes in at the caret) as one undo step, and the caret follows it. Returns where the text went
    // in; nothing, and nothing changes, when the view is not editable.
    std::optional<TextPosition> InsertOverSelection(std::string_view text, std::int32_t action);
    // An empty selection with the caret at `position`, scrolled into view.
    void PlaceCaretAt(TextPosition position);

    bool OverwriteMode() const { return m_overwriteMode; }
    bool AutoIndent() const { return m_autoIndent; }
    bool DropIndicatorShown() const { return m_dropIndicatorShown; }

    // The drop target's requests; points are client coordinates.
    DROPEFFECT OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point);
    DROPEFFECT OnDragOver(COleDataObject* data, DWORD keyState, CPoint point);
    void OnDragLeave();
    bool OnDrop(COleDataObject* data, CPoint point);
    DROPEFFECT OnDragScroll(DWORD keyState, CPoint point);

    // Replace (quill_edit_view_replace.cpp). Replaces the selection (or inserts at the caret) and
    // selects the new text with the caret at its end; always true.
    bool ReplaceSelectedText(std::string_view text);
    // Replaces `first` and every later match of `search` before `scopeEnd` (which moves with the
    // text) as one undo step, "Replace All", and shows the end result once with the last
    // replacement selected.
    void ReplaceAll(const TextSearch& search, FoundText first, std::string_view replacement, TextPosition& scopeEnd);

protected:
    int OnCreate(CREATESTRUCT* create) override;
    void OnDestroy() override;
    void OnChar(UINT character, UINT repeatCount, UINT flags) override;
    // The middle button pastes the primary selection where it is pressed.
    void OnMButtonDown(UINT flags, CPoint point) override;

private:
    // Deletes the selection (the caret goes to its start). Returns where text typed over it goes:
    // its start, or the caret without a selection. Commands insert there rather than at the caret,
    // which a deletion may have moved to the start of a character its bytes now join.
    TextPosition DeleteSelectionText();
    // Inserts and places the caret after the text.
    void InsertAndPlaceCaret(TextPosition position, std::string_view text, std::int32_t action);

    void TypeCharacter(char32_t character);
    void TypeEnter();
    void InsertAutoIndent();
    // The bytes a typed character has in the document: its UTF-8 encoding, or its byte in a legacy
    // character set (empty when the set has none).
    std::string BytesOfTyped(char32_t character) const;

    void OnEditDelete();
    void OnEditDeleteBack();
    void OnEditTab();
    void OnEditUntab();
    void OnEditToggleOverwrite();
    void OnEditCut();
    void OnEditPaste();
    void OnEditUndo();
    void OnEditRedo();

    // The lines a multi-line selection covers for block indent and unindent, which select them
    // whole; false when the selection does not span lines.
    bool SelectLineBlock(int& first, int& last);
    void IndentLines(int first, int last);
    void UnindentLines(int first, int last);
    void MoveCaretToNextTabStop();
    void MoveCaretToPreviousTabStop();
    // Bytes of leading blanks (and one tab) that unindenting the line removes.
    int UnindentWidth(int line);

    void OnUpdateEditCut(CCmdUI* commandUi);
    void OnUpdateEditPaste(CCmdUI* commandUi);
    void OnUpdateEditUndo(CCmdUI* commandUi);
    void OnUpdateEditRedo(CCmdUI* commandUi);
    void OnUpdateOverwrite(CCmdUI* commandUi);
    void OnUpdateOverwritePane(CCmdUI* commandUi);

    void ShowDropIndicator(CPoint point);
    void HideDropIndicator();
    // Scrolls when the point is near an edge of the client area; whether it scrolled.
    bool DragScroll(CPoint point);
    bool DropText(COleDataObject* data, CPoint point);

    void OnEditReplace();
    TextPosition InsertReplacement(TextPosition start, std::string_view text, std::int32_t action);

    bool m_overwriteMode = false;
    bool m_dropIndicatorShown = false;
    TextPosition m_savedCaret;
    TextPosition m_dropPos;
    bool m_autoIndent = true;
    std::unique_ptr<EditDropTarget> m_dropTarget;
};
