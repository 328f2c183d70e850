#pragma once

// Reading a whole file into memory.

#include <cstdint>
#include <optional>
#include <string>

namespace utils {

// How a file is read: Text turns every CR LF into LF; Binary keeps every byte.
enum class FileMode { Text, Binary };

// The whole content of the file; none, with errno set, when it cannot be opened or read, is not a
// regular file (see OpenRegularFileForReading) or holds more than sizeLimit bytes (EFBIG).
std::optional<std::string> ReadWholeFile(const std::string& path, FileMode mode, std::int64_t sizeLimit);

// Turns every CR LF of bytes into LF in place and returns the new length.
std::size_t ConvertCrLfToLf(char* bytes, std::size_t length);

}  // namespace utils
