#pragma once

#include "platform/accelerators.h"
#include "platform/menu.h"
#include "platform/resources.h"

#include <vector>

// The main frame's resources, all under IDR_MAINFRAME: the menu, the tool bar with its pictures and
// the key table.
platform::Menu MainFrameMenu();
platform::ToolbarResource MainFrameToolbar();
std::vector<ACCEL> MainFrameAccelerators();

// Registers the three (and the tool bar's bitmap) with the framework's resources.
void RegisterMainFrameResources();
