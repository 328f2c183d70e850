#pragma once

#include "views/colour_slot.h"

#include <cstdint>
#include <string_view>
#include <vector>

// LaTeX colouring of one line: control sequences and the first argument of a command in `Keyword`,
// comments in `Comment`, the rest in `NormalText`.
//
// The state carried from line to line is the brace depth of a command argument still open at the
// end of the line (0: the line ends outside any argument). Spans are appended to `spans` unless it
// is null, in which case only the end state is computed. Returns the state at the end of the line.
std::uint32_t ScanLatexLine(std::uint32_t state, std::string_view line, std::vector<ColourSpan>* spans);
