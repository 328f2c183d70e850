#pragma once

// Files that are read as a whole (documents, sources, logs) must be regular files: opening a named
// pipe waits for a writer, and a device such as /dev/zero never ends.

#include "utils/file_descriptor.h"

#include <string>
#include <string_view>
#include <sys/types.h>

namespace utils {

// What a file system entry of this mode is when it is not a regular file ("a directory", "a named
// pipe (FIFO)", "a socket", "a character device", "a block device"); empty for a regular file.
std::string_view NonRegularFileKind(mode_t mode);

// "It is a named pipe (FIFO), not a regular file." when path names an entry that is not a regular
// file; empty when it is one or its status cannot be read (opening it then tells why).
std::string NotRegularFileReason(const std::string& path);

// Opens path for reading, but only a regular file: anything else is refused before it is opened
// and checked again on the opened descriptor, so a named pipe never blocks. On failure returns a
// closed descriptor with errno set: EISDIR for a directory, EINVAL for the other kinds.
FileDescriptor OpenRegularFileForReading(const std::string& path);

// Opens path as OpenRegularFileForReading does, but a failure throws std::runtime_error with
// messagePrefix followed by NotRegularFileReason(path) for an entry of another kind, else by the
// system's text for the error.
FileDescriptor OpenRegularFileForReadingOrThrow(const std::string& path, const std::string& messagePrefix);

}  // namespace utils
