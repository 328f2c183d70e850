#pragma once

#include "views/colour_slot.h"

#include <cstddef>
#include <vector>

// Adds a colour span for a scanner that may be asked for the line's state only (`spans` null).
// Spans stay in non-decreasing order of their start: one that would go backwards is dropped.
void AppendColourSpan(std::vector<ColourSpan>* spans, std::size_t start, ColourSlot slot);
