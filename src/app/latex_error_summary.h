#pragma once

#include <string>
#include <vector>

namespace app {

// One LaTeX error of a log: its "!" line and, when the log gives it, the "l.NN ..." line that tells
// where in the source it happened (empty otherwise).
struct LatexError {
    std::string message;
    std::string location;
};

std::vector<LatexError> LatexErrors(const std::string& logText);

}  // namespace app
