#include "docsystem/problem_mapping.h"

#include <algorithm>
#include <filesystem>

namespace {

std::string WithoutCurrentDirectory(const std::string& name)
{
    return name.starts_with("./") ? name.substr(2) : name;
}

void MoveToUserFile(LatexProblem& problem, const LoggedFiles& files)
{
    if (problem.path.empty()) {
        problem.path = files.documentPath;
        return;
    }
    const std::string name = WithoutCurrentDirectory(problem.path);
    if (const auto source = files.sources.find(name); source != files.sources.end()) {
        problem.path = source->second.path;
        problem.line = source->second.lines.OriginalLine(problem.line);
        return;
    }
    const std::filesystem::path path(name);
    problem.path = path.is_absolute() ? name : (std::filesystem::path(files.logDirectory) / path).lexically_normal().string();
}

}  // namespace

std::vector<LatexProblem> ProblemsInUserFiles(std::vector<LatexProblem> logged, const LoggedFiles& files)
{
    for (LatexProblem& problem : logged)
        MoveToUserFile(problem, files);
    std::stable_partition(logged.begin(), logged.end(),
                          [](const LatexProblem& problem) { return problem.severity == ProblemSeverity::Error; });
    return logged;
}
