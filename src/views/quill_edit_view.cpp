#include "views/quill_edit_view.h"

#include "buffer/undo_action.h"
#include "buffer/undo_group.h"
#include "platform/cmd_ui.h"
#include "platform/command_ids.h"
#include "utils/string_table.h"
#include "views/edit_drop_target.h"
#include "views/editor_command_ids.h"

namespace {

constexpr unsigned UndoMenuTextId = 8615;
constexpr unsigned RedoMenuTextId = 8616;
constexpr unsigned PlainUndoMenuTextId = 8617;
constexpr unsigned PlainRedoMenuTextId = 8618;

// A resource text with "%s" replaced by `argument`.
std::string MenuTextWith(unsigned textId, const std::string& argument)
{
    std::string text = utils::LoadResourceString(textId);
    if (const auto place = text.find("%s"); place != std::string::npos)
        text.replace(place, 2, argument);
    return text;
}

}  // namespace

CQuillEditView::CQuillEditView()
{
    MapCommand(ID_EDIT_DELETE, &CQuillEditView::OnEditDelete);
    MapCommand(ID_EDIT_DELETE_BACK, &CQuillEditView::OnEditDeleteBack);
    MapCommand(ID_EDIT_TAB, &CQuillEditView::OnEditTab);
    MapCommand(ID_EDIT_UNTAB, &CQuillEditView::OnEditUntab);
    MapCommand(ID_EDIT_SWITCH_OVRMODE, &CQuillEditView::OnEditToggleOverwrite);
    MapCommand(ID_EDIT_CUT, &CQuillEditView::OnEditCut);
    MapCommand(ID_EDIT_PASTE, &CQuillEditView::OnEditPaste);
    MapCommand(ID_EDIT_UNDO, &CQuillEditView::OnEditUndo);
    MapCommand(ID_EDIT_REDO, &CQuillEditView::OnEditRedo);
    MapCommand(ID_EDIT_REPLACE, &CQuillEditView::OnEditReplace);
    MapUpdateCommandUI(ID_EDIT_CUT, &CQuillEditView::OnUpdateEditCut);
    MapUpdateCommandUI(ID_EDIT_PASTE, &CQuillEditView::OnUpdateEditPaste);
    MapUpdateCommandUI(ID_EDIT_UNDO, &CQuillEditView::OnUpdateEditUndo);
    MapUpdateCommandUI(ID_EDIT_REDO, &CQuillEditView::OnUpdateEditRedo);
    MapUpdateCommandUI(ID_EDIT_SWITCH_OVRMODE, &CQuillEditView::OnUpdateOverwrite);
    MapUpdateCommandUI(ID_INDICATOR_OVR, &CQuillEditView::OnUpdateOverwritePane);
    ResetViewState();
}

CQuillEditView::~CQuillEditView() = default;

void CQuillEditView::ResetViewState()
{
    m_overwriteMode = false;
    m_autoIndent = true;
    CQuillTextView::ResetViewState();
}

bool CQuillEditView::IsEditable() const
{
    return Buffer() != nullptr && !Buffer()->IsReadOnly();
}

int CQuillEditView::OnCreate(CREATESTRUCT* create)
{
    if (CQuillTextView::OnCreate(create) == -1)
        return -1;
    // Without a registered target the view simply accepts no drops.
    auto target = std::make_unique<EditDropTarget>(*this);
    if (target->Register(this))
        m_dropTarget = std::move(target);
    return 0;
}

void CQuillEditView::OnDestroy()
{
    m_dropTarget.reset();
    CQuillTextView::OnDestroy();
}

void CQuillEditView::PlaceCaretAt(TextPosition position)
{
    SetSelectionAnchor(position);
    SelectRange(position, position);
    SetCaretPos(position);
    BringIntoView(position);
}

TextPosition CQuillEditView::DeleteSelectionText()
{
    if (!HasSelection())
        return CaretPos();
    TextPosition start;
    TextPosition end;
    GetSelection(start, end);
    PlaceCaretAt(start);
    Buffer()->DeleteText(this, start.line, start.character, end.line, end.character, UndoAction::DeleteSelection);
    return start;
}

void CQuillEditView::InsertAndPlaceCaret(TextPosition position, std::string_view text, std::int32_t action)
{
    TextPosition end;
    if (Buffer()->InsertText(this, position.line, position.character, text, end.line, end.character, action))
        PlaceCaretAt(end);
}

std::optional<TextPosition> CQuillEditView::InsertOverSelection(std::string_view text, std::int32_t action)
{
    if (!IsEditable())
        return std::nullopt;
    UndoGroup group(*Buffer(), this, UndoGroupMerge::NewGroup);
    const TextPosition start = DeleteSelectionText();
    InsertAndPlaceCaret(start, text, action);
    group.Close();
    return start;
}

void CQuillEditView::OnEditToggleOverwrite()
{
    m_overwriteMode = !m_overwriteMode;
}

void CQuillEditView::OnEditCut()
{
    if (!IsEditable() || !HasSelection())
        return;
    TextPosition start;
    TextPosition end;
    GetSelection(start, end);
    std::string text;
    GetText(start, end, text);
    // Nothing is deleted that did not reach the clipboard.
    if (!CopyTextToClipboard(text))
        return;
    PlaceCaretAt(start);
    Buffer()->DeleteText(this, start.line, start.character, end.line, end.character, UndoAction::Cut);
}

void CQuillEditView::OnEditPaste()
{
    if (!IsEditable())
        return;
    std::string text;
    const bool haveText = ReadTextFromClipboard(text);
    // Text the document cannot take changes nothing; the user has been told.
    if (!haveText && ClipboardHasText())
        return;
    UndoGroup group(*Buffer(), this, UndoGroupMerge::NewGroup);
    const TextPosition start = DeleteSelectionText();
    if (haveText)
        InsertAndPlaceCaret(start, text, UndoAction::Paste);
    group.Close();
}

void CQuillEditView::OnEditUndo()
{
    if (Buffer() == nullptr || !Buffer()->CanUndo())
        return;
    TextPosition caret;
    Buffer()->Undo(caret);
    PlaceCaretAt(caret);
}

void CQuillEditView::OnEditRedo()
{
    if (Buffer() == nullptr || !Buffer()->CanRedo())
        return;
    TextPosition caret;
    Buffer()->Redo(caret);
    PlaceCaretAt(caret);
}

void CQuillEditView::OnUpdateEditCut(CCmdUI* commandUi)
{
    commandUi->Enable(IsEditable() && HasSelection());
}

void CQuillEditView::OnUpdateEditPaste(CCmdUI* commandUi)
{
    commandUi->Enable(IsEditable() && ClipboardHasText());
}

void CQuillEditView::OnUpdateEditUndo(CCmdUI* commandUi)
{
    const bool canUndo = Buffer() != nullptr && Buffer()->CanUndo();
    commandUi->Enable(canUndo);
    if (commandUi->m_pMenu == nullptr)
        return;
    if (!canUndo) {
        commandUi->SetText(utils::LoadResourceString(PlainUndoMenuTextId));
        return;
    }
    std::string description;
    Buffer()->UndoDescription(description);
    commandUi->SetText(MenuTextWith(UndoMenuTextId, description));
}

void CQuillEditView::OnUpdateEditRedo(CCmdUI* commandUi)
{
    const bool canRedo = Buffer() != nullptr && Buffer()->CanRedo();
    commandUi->Enable(canRedo);
    if (commandUi->m_pMenu == nullptr)
        return;
    if (!canRedo) {
        commandUi->SetText(utils::LoadResourceString(PlainRedoMenuTextId));
        return;
    }
    std::string description;
    Buffer()->RedoDescription(description);
    commandUi->SetText(MenuTextWith(RedoMenuTextId, description));
}

void CQuillEditView::OnUpdateOverwrite(CCmdUI* commandUi)
{
    commandUi->SetCheck(m_overwriteMode ? 1 : 0);
}

void CQuillEditView::OnUpdateOverwritePane(CCmdUI* commandUi)
{
    commandUi->Enable(m_overwriteMode);
}
