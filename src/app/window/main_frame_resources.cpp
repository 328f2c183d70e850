#include "app/window/main_frame_resources.h"

#include "app/window/app_resource_ids.h"
#include "app/window/toolbar_images.h"
#include "documents/latex_command_ids.h"
#include "platform/command_ids.h"
#include "platform/virtual_keys.h"
#include "views/editor_command_ids.h"

using platform::MenuItem;

platform::Menu MainFrameMenu()
{
    return {
        MenuItem::Popup("&File", {MenuItem::Command("&New\tCtrl+N", ID_FILE_NEW),
                                  MenuItem::Command("&Open...\tCtrl+O", ID_FILE_OPEN),
                                  MenuItem::Command("&Save\tCtrl+S", ID_FILE_SAVE),
                                  MenuItem::Command("Save &As...", ID_FILE_SAVE_AS), MenuItem::Separator(),
                                  MenuItem::Command("Recent File", ID_FILE_MRU_FILE1), MenuItem::Separator(),
                                  MenuItem::Command("E&xit", ID_APP_EXIT)}),
        MenuItem::Popup("&Edit", {MenuItem::Command("&Undo\tCtrl+Z", ID_EDIT_UNDO),
                                  MenuItem::Command("&Redo\tCtrl+Y", ID_EDIT_REDO), MenuItem::Separator(),
                                  MenuItem::Command("Cu&t\tCtrl+X", ID_EDIT_CUT),
                                  MenuItem::Command("&Copy\tCtrl+C", ID_EDIT_COPY),
                                  MenuItem::Command("&Paste\tCtrl+V", ID_EDIT_PASTE),
                                  MenuItem::Command("&Delete\tDel", ID_EDIT_DELETE),
                                  MenuItem::Command("&Indent\tTab", ID_EDIT_TAB),
                                  MenuItem::Command("Unindent\tShift+Tab", ID_EDIT_UNTAB),
                                  MenuItem::Command("&Overwrite Mode\tIns", ID_EDIT_SWITCH_OVRMODE),
                                  MenuItem::Command("Select &All\tCtrl+A", ID_EDIT_SELECT_ALL), MenuItem::Separator(),
                                  MenuItem::Command("&Find...\tAlt+F3", ID_EDIT_FIND),
                                  MenuItem::Command("Find &Next\tF3", ID_EDIT_REPEAT),
                                  MenuItem::Command("R&eplace...\tCtrl+H", ID_EDIT_REPLACE)}),
        MenuItem::Popup("&View", {MenuItem::Command("&Toolbar", ID_VIEW_TOOLBAR),
                                  MenuItem::Command("&Status Bar", ID_VIEW_STATUS_BAR), MenuItem::Separator(),
                                  MenuItem::Command("&UTF-8 Encoding", ID_VIEW_ENCODING_UTF8),
                                  MenuItem::Command("&Legacy 8-bit Encoding", ID_VIEW_ENCODING_LEGACY)}),
        MenuItem::Popup("&Insert", {MenuItem::Command("&Bold\tCtrl+B", ID_INSERT_BOLD),
                                    MenuItem::Command("&Italic\tCtrl+E", ID_INSERT_ITALIC), MenuItem::Separator(),
                                    MenuItem::Command("&Enumeration\tCtrl+E", ID_INSERT_ENUMERATION),
                                    MenuItem::Command("I&tem list\tCtrl+T", ID_INSERT_ITEM_LIST),
                                    MenuItem::Command("Ne&xt item\tCtrl+Shift+X", ID_INSERT_NEXT_ITEM),
                                    MenuItem::Separator(),
                                    MenuItem::Command("Inline m&ath\tCtrl+A", ID_INSERT_INLINE_MATH),
                                    MenuItem::Command("&Displayed math\tCtrl+D", ID_INSERT_DISPLAYED_MATH),
                                    MenuItem::Command("E&quation\tCtrl+Q", ID_INSERT_EQUATION), MenuItem::Separator(),
                                    MenuItem::Command("Table\tCtrl+&U", ID_INSERT_TABLE), MenuItem::Separator(),
                                    MenuItem::Command("Code\tCtrl+Shift+C", ID_INSERT_CODE)}),
        MenuItem::Popup("&Output", {MenuItem::Command("Create &PostScript Output", ID_OUTPUT_CREATE_POSTSCRIPT),
                                    MenuItem::Command("Create P&DF Output", ID_OUTPUT_CREATE_PDF),
                                    MenuItem::Command("Create &HTML Output", ID_OUTPUT_CREATE_HTML),
                                    MenuItem::Separator(),
                                    MenuItem::Command("View PostScript Output", ID_OUTPUT_VIEW_POSTSCRIPT),
                                    MenuItem::Command("View PDF Output", ID_OUTPUT_VIEW_PDF),
                                    MenuItem::Command("View HTML Output", ID_OUTPUT_VIEW_HTML),
                                    MenuItem::Separator(),
                                    MenuItem::Command("Next &Problem\tF4", ID_NEXT_PROBLEM),
                                    MenuItem::Command("P&revious Problem\tShift+F4", ID_PREVIOUS_PROBLEM)}),
        MenuItem::Popup("Preferences", {MenuItem::Command("Options", ID_OPTIONS)}),
        MenuItem::Popup("&Help", {MenuItem::Command("&About Quillwright...", ID_APP_ABOUT),
                                  MenuItem::Command("Contents", ID_HELP_CONTENTS)}),
    };
}

platform::ToolbarResource MainFrameToolbar()
{
    platform::ToolbarResource toolbar;
    toolbar.buttonWidth = toolbar_images::ButtonWidth;
    toolbar.buttonHeight = toolbar_images::ButtonHeight;
    toolbar.bitmapId = IDR_MAINFRAME;
    toolbar.commands = {
        ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_SEPARATOR,
        ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_SEPARATOR,
        ID_EDIT_UNDO, ID_EDIT_REDO, ID_SEPARATOR,
        ID_OUTPUT_CREATE_POSTSCRIPT, ID_OUTPUT_CREATE_PDF, ID_OUTPUT_CREATE_HTML, ID_SEPARATOR,
        ID_INSERT_BOLD, ID_INSERT_ITALIC, ID_INSERT_ENUMERATION, ID_INSERT_ITEM_LIST, ID_INSERT_NEXT_ITEM,
        ID_INSERT_INLINE_MATH, ID_INSERT_DISPLAYED_MATH, ID_INSERT_EQUATION, ID_INSERT_TABLE, ID_SEPARATOR,
        ID_OUTPUT_VIEW_POSTSCRIPT, ID_OUTPUT_VIEW_PDF, ID_OUTPUT_VIEW_HTML,
    };
    return toolbar;
}

std::vector<ACCEL> MainFrameAccelerators()
{
    const auto key = [](BYTE modifiers, int virtualKey, UINT command) {
        return ACCEL{static_cast<BYTE>(FVIRTKEY | modifiers), static_cast<WORD>(virtualKey), static_cast<WORD>(command)};
    };
    return {
        key(FCONTROL, 'C', ID_EDIT_COPY),      key(FCONTROL, 'N', ID_FILE_NEW),
        key(FCONTROL, 'O', ID_FILE_OPEN),      key(FCONTROL, 'S', ID_FILE_SAVE),
        key(FCONTROL, 'V', ID_EDIT_PASTE),     key(FALT, VK_BACK, ID_EDIT_UNDO),
        key(0, VK_DELETE, ID_EDIT_DELETE),     key(FSHIFT, VK_DELETE, ID_EDIT_CUT),
        key(0, VK_F6, ID_NEXT_PANE),           key(FSHIFT, VK_F6, ID_PREV_PANE),
        key(FCONTROL, VK_INSERT, ID_EDIT_COPY), key(FSHIFT, VK_INSERT, ID_EDIT_PASTE),
        key(FCONTROL, 'X', ID_EDIT_CUT),       key(FCONTROL, 'Z', ID_EDIT_UNDO),
        key(0, VK_F4, ID_NEXT_PROBLEM),        key(FSHIFT, VK_F4, ID_PREVIOUS_PROBLEM),
    };
}

void RegisterMainFrameResources()
{
    platform::resources::AddMenu(IDR_MAINFRAME, MainFrameMenu());
    platform::resources::AddToolbar(IDR_MAINFRAME, MainFrameToolbar());
    platform::resources::AddBitmap(IDR_MAINFRAME, toolbar_images::DrawStrip());
    platform::resources::AddAccelerators(IDR_MAINFRAME, MainFrameAccelerators());
}
