#pragma once

#include "platform/win_types.h"

// Commands, resources and status bar panes of the text views.

// The key table of the text views.
constexpr UINT IDR_EDITOR_ACCELERATORS = 22901;

// Editing commands.
constexpr UINT ID_EDIT_DELETE = 37000;
constexpr UINT ID_EDIT_DELETE_BACK = 37001;
constexpr UINT ID_EDIT_TAB = 37003;
constexpr UINT ID_EDIT_UNTAB = 37004;
constexpr UINT ID_EDIT_SWITCH_OVRMODE = 37005;

// Cursor commands: each moving command is followed by its selecting variant (id + 1).
constexpr UINT ID_EDIT_CHAR_LEFT = 37100;
constexpr UINT ID_EDIT_EXT_CHAR_LEFT = 37101;
constexpr UINT ID_EDIT_CHAR_RIGHT = 37102;
constexpr UINT ID_EDIT_EXT_CHAR_RIGHT = 37103;
constexpr UINT ID_EDIT_WORD_LEFT = 37104;
constexpr UINT ID_EDIT_EXT_WORD_LEFT = 37105;
constexpr UINT ID_EDIT_WORD_RIGHT = 37106;
constexpr UINT ID_EDIT_EXT_WORD_RIGHT = 37107;
constexpr UINT ID_EDIT_LINE_UP = 37108;
constexpr UINT ID_EDIT_EXT_LINE_UP = 37109;
constexpr UINT ID_EDIT_LINE_DOWN = 37110;
constexpr UINT ID_EDIT_EXT_LINE_DOWN = 37111;
constexpr UINT ID_EDIT_SCROLL_UP = 37112;
constexpr UINT ID_EDIT_SCROLL_DOWN = 37113;
constexpr UINT ID_EDIT_PAGE_UP = 37114;
constexpr UINT ID_EDIT_EXT_PAGE_UP = 37115;
constexpr UINT ID_EDIT_PAGE_DOWN = 37116;
constexpr UINT ID_EDIT_EXT_PAGE_DOWN = 37117;
constexpr UINT ID_EDIT_LINE_END = 37118;
constexpr UINT ID_EDIT_EXT_LINE_END = 37119;
constexpr UINT ID_EDIT_HOME = 37120;
constexpr UINT ID_EDIT_EXT_HOME = 37121;
constexpr UINT ID_EDIT_TEXT_BEGIN = 37122;
constexpr UINT ID_EDIT_EXT_TEXT_BEGIN = 37123;
constexpr UINT ID_EDIT_TEXT_END = 37124;
constexpr UINT ID_EDIT_EXT_TEXT_END = 37125;
constexpr UINT ID_EDIT_FIND_PREVIOUS = 37126;

// Bookmarks: toggle numbered bookmark 0 to 9, go to numbered bookmark 0 to 9, and the unnumbered
// ones.
constexpr UINT ID_EDIT_TOGGLE_BOOKMARK0 = 37200;
constexpr UINT ID_EDIT_TOGGLE_BOOKMARK9 = 37209;
constexpr UINT ID_EDIT_GO_BOOKMARK0 = 37210;
constexpr UINT ID_EDIT_GO_BOOKMARK9 = 37219;
constexpr UINT ID_EDIT_TOGGLE_BOOKMARK = 37223;
constexpr UINT ID_EDIT_GOTO_NEXT_BOOKMARK = 37224;
constexpr UINT ID_EDIT_GOTO_PREV_BOOKMARK = 37225;
constexpr UINT ID_EDIT_CLEAR_ALL_BOOKMARKS = 37226;

// How the text's bytes are read (View menu).
constexpr UINT ID_VIEW_ENCODING_UTF8 = 37300;
constexpr UINT ID_VIEW_ENCODING_LEGACY = 37301;

// The status bar pane with the caret's line and column.
constexpr UINT ID_INDICATOR_POSITION = 37903;
