#pragma once

#include <string_view>
#include <vector>

// Splits a text that is being inserted into the pieces that become lines. A piece ends at a carriage
// return; one line feed directly after it belongs to the same line end. A line feed without a
// carriage return before it is an ordinary character. The result always holds at least one piece.
std::vector<std::string_view> SplitInsertedText(std::string_view text);
