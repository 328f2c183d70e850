#pragma once

#include "buffer/line_table.h"

#include <string>
#include <string_view>

// Writes the lines, joined by lineEnd, to path without ever losing the file already there: the text
// goes to a temporary file in the same directory ("QWR" and a hexadecimal number), which is flushed
// to disk, given the permissions (and, where allowed, the owner) of the file it replaces and then
// renamed over it in one step.
// A symbolic link is followed, so the file it points to is replaced and the link stays.
//
// A file without write permission for its owner counts as read-only and is not replaced (errno
// EACCES), whoever runs the program. On failure returns false with the reason in errno; the old file
// is untouched and the temporary file removed.
bool WriteTextFile(const std::string& path, const LineTable& lines, std::string_view lineEnd);
