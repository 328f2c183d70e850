#pragma once

#include <cstdint>
#include <string>

enum class ProblemSeverity {
    Error,
    Warning,
};

// An error or warning of a LaTeX log, told in the user's terms: the file as the user has it and the
// line of that file.
struct LatexProblem {
    ProblemSeverity severity = ProblemSeverity::Error;
    std::string message;
    std::string path;       // full path of the user's file, or the file as the log names it
    std::int32_t line = 0;  // 1-based; 0 when the log tells no line

    bool operator==(const LatexProblem&) const = default;
};
