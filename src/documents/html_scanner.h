#pragma once

#include "views/colour_slot.h"

#include <cstdint>
#include <string_view>
#include <vector>

// HTML colouring of one line: known tag names, known attribute names and other names inside tags,
// the rest of a tag (brackets, "=", values, quoted strings) as markup, comments, and the known
// entity references outside tags.
//
// The state carried from line to line is 1 when the line ends inside a comment, 0 otherwise; tags
// and quoted strings do not continue onto the next line. Spans are appended to `spans` unless it is
// null. Returns the state at the end of the line.
std::uint32_t ScanHtmlLine(std::uint32_t state, std::string_view line, std::vector<ColourSpan>* spans);
