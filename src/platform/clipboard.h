#pragma once

#include <optional>
#include <string>

namespace platform::clipboard {

// The clipboard's plain text is Unicode, exchanged here in UTF-8; converting it to and from a
// document's bytes is the business of the views.

// Whether the clipboard offers plain text.
bool HasText();
// Puts the text (up to a zero byte, as the text format ends there) on the clipboard; false when
// the clipboard refused it.
bool SetText(const std::string& text);
// The clipboard's plain text; nothing when it holds none.
std::optional<std::string> GetText();

// The primary selection: what was selected last with the mouse, here or in another program.
void SetPrimarySelection(const std::string& text);
std::optional<std::string> PrimarySelection();

}  // namespace platform::clipboard
