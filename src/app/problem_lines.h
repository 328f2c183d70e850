#pragma once

#include "docsystem/latex_problem.h"

#include <string>

namespace app {

// "FILE:LINE: error: MESSAGE" or "FILE:LINE: warning: MESSAGE" (without ":LINE" when the log tells
// none), the form editors and build tools read. FILE is relative to workingDirectory when it lies
// below it, else as it is.
std::string ProblemLine(const LatexProblem& problem, const std::string& workingDirectory);

}  // namespace app
