#pragma once

#include <cstddef>
#include <string>

// The text the benchmarks of the editor work on: lines of a plausible LaTeX document (prose,
// commands, environments, comments, mathematics), the same for the same size.
std::string GenerateLatexText(std::size_t size);
