#pragma once

#include "buffer/line_ending_style.h"
#include "buffer/line_table.h"

#include <optional>
#include <string>

// What loading learned about a file besides its lines.
struct LoadedFileFacts {
    LineEndingStyle style = NativeLineEndingStyle;
    bool readOnly = false;  // the owner may not write it
};

// The size of the blocks a file is read in; the line-ending style is detected from the first one.
inline constexpr std::size_t ReadBlockSize = 32768;

// Which style the first block of a file uses: decided by its first line feed, the native style when
// the block holds none.
LineEndingStyle DetectLineEndingStyle(std::string_view firstBlock);

// Reads the file into lines appended to the table, split at the line end of the given style
// (detected when Automatic). Only a regular file is read (a named pipe or a device is refused
// without waiting, see utils::OpenRegularFileForReading). On failure returns nothing and leaves the
// reason in errno; lines read before the failure stay in the table.
std::optional<LoadedFileFacts> ReadTextFile(const std::string& path, LineEndingStyle style, LineTable& lines);
