#pragma once

#include "buffer/line_table.h"

#include <string>
#include <string_view>

// How a save ended.
struct WriteResult {
    bool written = false;
    // After a failed rewrite in place: the backup that holds the file's previous content.
    std::string keptBackup;
};

// Writes the lines, joined by lineEnd, to path without ever losing the file already there.
//
// Usually the text goes to a temporary file in the same directory ("QWR" and a hexadecimal number),
// which is flushed to disk, given the permissions, extended attributes (ACLs among them) and, where
// allowed, the owner of the file it replaces, and then renamed over it in one step.
// A file with more than one hard link is rewritten in place instead, so that every name shows the
// new text: first its content is copied to a backup beside it ("<name>.backup-" and a hexadecimal
// number) and flushed to disk; the backup is removed once the new text is on disk, and kept (named
// in the result) when writing failed half-way.
// A symbolic link is followed, so the file it points to is saved and the link stays.
//
// A file without write permission for its owner counts as read-only and is not replaced (errno
// EACCES), whoever runs the program. On failure the reason is in errno; the old file is untouched
// and nothing is left beside it, unless a backup is named.
WriteResult WriteTextFile(const std::string& path, const LineTable& lines, std::string_view lineEnd);
