#pragma once

// A whole text held in memory with search, edits and position markers that follow the edits.
// The operations never throw and never touch memory outside the text: bad positions, ranges and
// marker indexes are refused. Edits near the previous edit are cheap, so a pass that rewrites a
// large text from its start to its end takes time proportional to the text, not to the edits.

#include "utils/file_reading.h"
#include "utils/string_utils.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace utils {

class TextBuffer {
public:
    // Bit 0 of a marker's flags: the marker moves when text is inserted exactly at its position.
    static constexpr std::uint8_t kMoveOnInsert = 0x01;
    // The longest text: sizes are signed 32-bit and the capacity holds a terminating zero.
    static constexpr std::int32_t kMaximumSize = 2147482999;

    // Loads the file; a file that cannot be read leaves the text empty without bytes (HasBytes).
    TextBuffer(std::string path, FileMode mode);
    // A copy of text; no path.
    explicit TextBuffer(std::string_view text);

    // Reads the file again; false (and no bytes) when it cannot be read or is too large.
    bool Load();
    // Writes the text to the file; true without writing when there are no bytes.
    bool Save();

    bool HasBytes() const { return !storage.empty(); }
    std::int32_t Size() const { return size; }
    // Allocated bytes, a multiple of 1000 once the text has grown.
    std::int32_t Capacity() const { return static_cast<std::int32_t>(storage.size()); }
    const std::string& Path() const { return path; }

    // The byte at position; 0 outside the text.
    char ByteAt(std::int32_t position) const;
    // The bytes from start up to end (clamped to the text).
    std::string Substring(std::int32_t start, std::int32_t end) const;
    // The whole text, valid until the next edit.
    std::string_view Text();

    // Position of the first occurrence of pattern at or after start, or -1. With a comment
    // character, the scan skips from that character to the next LF. An empty pattern is not found.
    std::int32_t Find(std::string_view pattern, Case comparison, std::int32_t start = 0,
                      char commentCharacter = 0) const;
    // Index of the first CR or LF at or after position, or the size.
    std::int32_t EndOfLine(std::int32_t position) const;

    // Inserts bytes at position; false for a position outside the text or when it cannot grow.
    bool Insert(std::int32_t position, std::string_view bytes);
    bool Append(std::string_view bytes);
    // Removes the bytes from start up to, not including, end; false for a bad range.
    bool Erase(std::int32_t start, std::int32_t end);
    // Erase, then insert at start; false (and nothing changed) when either would fail.
    bool ReplaceRange(std::int32_t start, std::int32_t end, std::string_view bytes);
    // Replaces every occurrence from start on; inserted text is not searched again. Returns the
    // number of replacements.
    std::int32_t ReplaceAll(std::string_view pattern, std::string_view replacement, Case comparison,
                            std::int32_t start = 0);

    // The marker list becomes exactly index + 1 entries long and entry index is set (the position
    // is clamped to the text); false for an index outside 0 .. kMaximumMarkerIndex.
    bool SetMarker(std::int32_t index, std::int32_t position, std::uint8_t flags);
    // The current position of marker index, or -1 when there is no such marker.
    std::int32_t MarkerPosition(std::int32_t index) const;
    static constexpr std::int32_t kMaximumMarkerIndex = 1023;

private:
    struct Marker {
        std::int32_t position = 0;
        std::uint8_t flags = 0;
    };

    // The text lives in storage around a gap that starts at gapStart and is gapLength long.
    std::int32_t GapEnd() const { return gapStart + gapLength; }
    void MoveGap(std::int32_t position);
    bool Reserve(std::int64_t requiredSize);
    std::int32_t FindPlain(std::string_view pattern, Case comparison, std::int32_t start) const;
    std::int32_t FindSkippingComments(std::string_view pattern, Case comparison, std::int32_t start,
                                      char commentCharacter) const;
    void MoveMarkersForInsert(std::int32_t position, std::int32_t length);
    void MoveMarkersForErase(std::int32_t start, std::int32_t end);
    void InsertIntoGap(std::int32_t position, std::string_view bytes);
    void EraseIntoGap(std::int32_t start, std::int32_t end);
    void Clear();
    void ClampMarkers();

    std::string path;
    FileMode mode = FileMode::Binary;
    std::string storage;
    std::int32_t size = 0;
    std::int32_t gapStart = 0;
    std::int32_t gapLength = 0;
    std::vector<Marker> markers;
};

}  // namespace utils
