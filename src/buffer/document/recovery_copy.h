#pragma once

#include "buffer/line_ending_style.h"
#include "buffer/line_table.h"
#include "utils/utf8_characters.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

// What a recovery copy says about the document it was taken from.
struct RecoveryCopyHeader {
    std::string documentPath;  // empty for a document that was never saved
    LineEndingStyle lineEnding = NativeLineEndingStyle;
    TextEncoding encoding = TextEncoding::Utf8;
    std::int64_t writtenAt = 0;  // seconds since the epoch

    bool operator==(const RecoveryCopyHeader&) const = default;
};

// A copy read back: its header and the document's bytes, lines joined with its line end.
struct RecoveredText {
    RecoveryCopyHeader header;
    std::string text;
};

// A copy that is cut short, altered or no copy at all; what() says what is wrong with it.
class DamagedRecoveryCopy : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A document's lines, taken on the thread that edits it and written on another. Line 0 is kept for
// the header, which is filled in when the copy is written.
std::unique_ptr<LineTable> NewRecoverySnapshot();

// Writes the header line and the snapshot's text (lines joined with the header's line end) to
// copyPath through the safe-save path: the previous copy there is replaced only once the new one is
// on disk. Refuses (errno ELOOP) to write through anything at copyPath but a regular file, so a
// copy never lands on a file a link points to. False with the reason in errno on failure.
bool WriteRecoveryCopy(const std::string& copyPath, const RecoveryCopyHeader& header, LineTable& snapshot);

// Reads a copy, checking its header, length and checksum. Throws DamagedRecoveryCopy when any of
// them does not hold, std::system_error when it cannot be read.
RecoveredText ReadRecoveryCopy(const std::string& copyPath);
