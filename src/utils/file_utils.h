#pragma once

// File system helpers of the documentation job, the remote editing and the viewers. The throwing
// functions throw std::runtime_error with a complete message; the queries never throw.

#include <cstdint>
#include <string>

namespace utils {

enum class ReadOnlyFlag { Set, Clear };
enum class ExistingTarget { Fail, Overwrite };

// The system's temporary directory ($TMPDIR, else /tmp) without a trailing "/".
std::string TemporaryDirectory();
// Creates a new, empty, uniquely named file with the prefix "$" in directory (the temporary
// directory when it is empty) and returns its path. The caller deletes it.
std::string CreateTemporaryFile(const std::string& directory);
// The canonical absolute path of an existing file.
std::string CanonicalPath(const std::string& path);

// Whether path begins with "/".
bool IsAbsolutePath(const std::string& path);
// Whether the owner may not write the file; false when its status cannot be read.
bool IsReadOnly(const std::string& path);
// Setting removes every write permission, clearing adds the owner's; false on failure.
bool SetReadOnly(const std::string& path, ReadOnlyFlag flag);
// Size in bytes; -1 when the status cannot be read.
std::int64_t FileSize(const std::string& path);
// Last modification as seconds since 1970; -1 when the status cannot be read.
std::int64_t ModificationTime(const std::string& path);
// Whether the status of path (a file or a directory) can be read.
bool FileExists(const std::string& path);

// Copies source to target with the source's permissions. A file is never copied onto itself, and a
// target that this call created is removed again when the copy fails.
void CopyFile(const std::string& source, const std::string& target, ExistingTarget existing);
// The whole content of a text file, CR LF turned into LF. A path that is not a regular file is
// refused with a message that says what it is.
std::string ReadTextFile(const std::string& path);

}  // namespace utils
