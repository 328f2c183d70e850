#pragma once

#include <cstdint>
#include <optional>

// The action code recorded with every edit. The Undo and Redo menu items show its description.
// Callers may record any other code; such codes have no description. The codes convert to the plain
// 32-bit action arguments of the buffer, and their names stay inside this namespace.
namespace UndoAction {
enum Code : std::int32_t {
    Unknown = 0,
    Paste = 1,
    DeleteSelection = 2,
    Cut = 3,
    Typing = 4,
    Backspace = 5,
    Indent = 6,
    DragAndDrop = 7,
    Replace = 8,
    Delete = 9,
    AutoIndent = 10,
    // Every replacement of one Replace All, undone as one step.
    ReplaceAll = 11,
};
}  // namespace UndoAction

// The string table id of the action's description, or nothing for a code without one.
std::optional<int> UndoActionStringId(std::int32_t action);
