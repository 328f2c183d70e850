#pragma once

#include "platform/win_types.h"

// Commands and status bar panes of the text views.
constexpr UINT ID_EDIT_DELETE = 37000;
// The status bar pane with the caret's line and column.
constexpr UINT ID_INDICATOR_POSITION = 37903;
