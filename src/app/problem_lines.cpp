#include "app/problem_lines.h"

#include <filesystem>

namespace app {

namespace {

std::string DisplayedPath(const std::string& path, const std::string& workingDirectory)
{
    const std::filesystem::path relative = std::filesystem::path(path).lexically_relative(workingDirectory);
    if (relative.empty() || *relative.begin() == "..")
        return path;
    return relative.string();
}

const char* SeverityWord(ProblemSeverity severity)
{
    return severity == ProblemSeverity::Error ? "error" : "warning";
}

}  // namespace

std::string ProblemLine(const LatexProblem& problem, const std::string& workingDirectory)
{
    std::string line = DisplayedPath(problem.path, workingDirectory);
    if (problem.line > 0)
        line.append(":").append(std::to_string(problem.line));
    return line.append(": ").append(SeverityWord(problem.severity)).append(": ").append(problem.message);
}

}  // namespace app
