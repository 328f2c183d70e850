#pragma once

#include "buffer/line_table.h"

#include <string>
#include <string_view>

// Cuts a stream of blocks into lines at the given line end (one or two bytes) and appends each line
// to a table. Bytes that are not part of a recognised line end stay in the lines, so the text can be
// written back byte for byte.
//
// A two-byte line end is matched byte by byte: a byte that breaks a started match ends the attempt
// and is not itself taken as the first byte of a new one. With "\r\n", a carriage return followed by
// a carriage return and a line feed therefore ends no line.
class LineEndSplitter {
public:
    LineEndSplitter(LineTable& lines, std::string_view lineEnd);

    // Throws std::length_error when a line would exceed the longest line the buffer can hold.
    void Feed(std::string_view block);
    // The bytes after the last line end become the last line, even when there are none.
    void Finish();

private:
    void FeedSingleByteEnd(std::string_view block);
    void FeedTwoByteEnd(std::string_view block);
    // The line is the pending bytes followed by these.
    void EmitLine(std::string_view tail);
    void KeepPending(std::string_view bytes);
    // Whether a match is under way after these bytes, given whether one was under way before.
    bool MatchingAfter(std::string_view bytes, bool matchingBefore) const;

    LineTable& m_lines;
    char m_first;
    char m_second;
    bool m_twoBytes;
    bool m_matching = false;
    std::string m_pending;  // the start of a line that runs on into the next block
};
