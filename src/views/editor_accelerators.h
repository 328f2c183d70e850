#pragma once

#include "platform/accelerators.h"

#include <vector>

// The key table of the text views (IDR_EDITOR_ACCELERATORS): cursor and bookmark keys, find, select
// all, and the editing and clipboard keys. A view offers every key message to it first.
namespace editor_accelerators {

std::vector<ACCEL> Entries();
// Adds the table to the resources once; later calls do nothing.
void Register();

} // namespace editor_accelerators
