#pragma once

// The program's compiled-in string table: message templates, progress texts, error code texts,
// undo descriptions and the other texts addressed by number.

#include <string>

namespace utils {

// The text of string resource id, or an empty string when there is none. errno is left as it was,
// so a caller may fetch a message template and then still report the error that caused it.
std::string LoadResourceString(unsigned int id);

}  // namespace utils
