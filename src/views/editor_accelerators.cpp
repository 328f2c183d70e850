#include "views/editor_accelerators.h"

#include "platform/command_ids.h"
#include "platform/resources.h"
#include "platform/virtual_keys.h"
#include "views/editor_command_ids.h"

namespace editor_accelerators {
namespace {

ACCEL Key(BYTE modifiers, int virtualKey, UINT command)
{
    return ACCEL{static_cast<BYTE>(FVIRTKEY | modifiers), static_cast<WORD>(virtualKey), static_cast<WORD>(command)};
}

// A cursor key moves with the plain key and selects with Shift held as well.
void AddMoveAndSelect(std::vector<ACCEL>& entries, BYTE modifiers, int virtualKey, UINT moveCommand)
{
    entries.push_back(Key(modifiers, virtualKey, moveCommand));
    entries.push_back(Key(static_cast<BYTE>(modifiers | FSHIFT), virtualKey, moveCommand + 1));
}

} // namespace

std::vector<ACCEL> Entries()
{
    std::vector<ACCEL> entries;
    AddMoveAndSelect(entries, 0, VK_LEFT, ID_EDIT_CHAR_LEFT);
    AddMoveAndSelect(entries, 0, VK_RIGHT, ID_EDIT_CHAR_RIGHT);
    AddMoveAndSelect(entries, FCONTROL, VK_LEFT, ID_EDIT_WORD_LEFT);
    AddMoveAndSelect(entries, FCONTROL, VK_RIGHT, ID_EDIT_WORD_RIGHT);
    AddMoveAndSelect(entries, 0, VK_UP, ID_EDIT_LINE_UP);
    AddMoveAndSelect(entries, 0, VK_DOWN, ID_EDIT_LINE_DOWN);
    entries.push_back(Key(FCONTROL, VK_UP, ID_EDIT_SCROLL_UP));
    entries.push_back(Key(FCONTROL, VK_DOWN, ID_EDIT_SCROLL_DOWN));
    AddMoveAndSelect(entries, 0, VK_PRIOR, ID_EDIT_PAGE_UP);
    AddMoveAndSelect(entries, 0, VK_NEXT, ID_EDIT_PAGE_DOWN);
    AddMoveAndSelect(entries, 0, VK_END, ID_EDIT_LINE_END);
    AddMoveAndSelect(entries, 0, VK_HOME, ID_EDIT_HOME);
    AddMoveAndSelect(entries, FCONTROL, VK_HOME, ID_EDIT_TEXT_BEGIN);
    AddMoveAndSelect(entries, FCONTROL, VK_END, ID_EDIT_TEXT_END);
    for (int number = 0; number <= 9; ++number) {
        entries.push_back(Key(FCONTROL, '0' + number, ID_EDIT_TOGGLE_BOOKMARK0 + static_cast<UINT>(number)));
        entries.push_back(Key(FALT, '0' + number, ID_EDIT_GO_BOOKMARK0 + static_cast<UINT>(number)));
    }
    entries.push_back(Key(FCONTROL, VK_F2, ID_EDIT_TOGGLE_BOOKMARK));
    entries.push_back(Key(0, VK_F2, ID_EDIT_GOTO_NEXT_BOOKMARK));
    entries.push_back(Key(FSHIFT, VK_F2, ID_EDIT_GOTO_PREV_BOOKMARK));
    entries.push_back(Key(FCONTROL | FSHIFT, VK_F2, ID_EDIT_CLEAR_ALL_BOOKMARKS));

    entries.push_back(Key(FALT, VK_F3, ID_EDIT_FIND));
    entries.push_back(Key(0, VK_F3, ID_EDIT_REPEAT));
    entries.push_back(Key(FSHIFT, VK_F3, ID_EDIT_FIND_PREVIOUS));
    entries.push_back(Key(FCONTROL, 'H', ID_EDIT_REPLACE));
    entries.push_back(Key(FCONTROL, 'A', ID_EDIT_SELECT_ALL));

    entries.push_back(Key(0, VK_DELETE, ID_EDIT_DELETE));
    entries.push_back(Key(0, VK_BACK, ID_EDIT_DELETE_BACK));
    entries.push_back(Key(0, VK_TAB, ID_EDIT_TAB));
    entries.push_back(Key(FSHIFT, VK_TAB, ID_EDIT_UNTAB));
    entries.push_back(Key(0, VK_INSERT, ID_EDIT_SWITCH_OVRMODE));
    entries.push_back(Key(FCONTROL, 'X', ID_EDIT_CUT));
    entries.push_back(Key(FSHIFT, VK_DELETE, ID_EDIT_CUT));
    entries.push_back(Key(FCONTROL, 'C', ID_EDIT_COPY));
    entries.push_back(Key(FCONTROL, VK_INSERT, ID_EDIT_COPY));
    entries.push_back(Key(FCONTROL, 'V', ID_EDIT_PASTE));
    entries.push_back(Key(FSHIFT, VK_INSERT, ID_EDIT_PASTE));
    entries.push_back(Key(FCONTROL, 'Z', ID_EDIT_UNDO));
    entries.push_back(Key(FALT, VK_BACK, ID_EDIT_UNDO));
    entries.push_back(Key(FCONTROL, 'Y', ID_EDIT_REDO));
    return entries;
}

void Register()
{
    if (platform::resources::FindAccelerators(IDR_EDITOR_ACCELERATORS) == nullptr)
        platform::resources::AddAccelerators(IDR_EDITOR_ACCELERATORS, Entries());
}

} // namespace editor_accelerators
