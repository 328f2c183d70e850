#pragma once

#include "platform/resources.h"

// The mouse pointer over the selection margin: cursor resource 22900, an arrow that points up and
// to the right, at the text of the line it selects.
namespace margin_cursor {

constexpr UINT ResourceId = 22900;
constexpr int Size = 32;

platform::CursorResource Draw();

// Registers the cursor as resource ResourceId unless a cursor has that id already.
void Register();

}  // namespace margin_cursor
