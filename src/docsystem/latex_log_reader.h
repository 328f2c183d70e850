#pragma once

#include "docsystem/latex_problem.h"

#include <string_view>
#include <vector>

// The errors ("!" lines with their "l.NN"), warnings with "on input line NN" and over- or underfull
// boxes of a LaTeX log, in the order of the log. `path` is the file as the log's parenthesised file
// stack names it when the problem arose (empty outside every file); `line` counts in that file as
// LaTeX read it.
std::vector<LatexProblem> ReadLatexLog(std::string_view logText);
