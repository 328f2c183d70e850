#include "app/window/problems_pane.h"

#include <algorithm>
#include <filesystem>

namespace {

std::string SeverityText(ProblemSeverity severity)
{
    return severity == ProblemSeverity::Error ? "Error" : "Warning";
}

std::string LineText(std::int32_t line)
{
    return line > 0 ? std::to_string(line) : std::string();
}

std::string Counted(int count, const std::string& noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace

bool ProblemsPane::Create(CFrameWnd* frame)
{
    return m_list.Create(frame, "Problems", {"Type", "File", "Line", "Message"});
}

void ProblemsPane::Show(std::vector<LatexProblem> problems)
{
    std::stable_partition(problems.begin(), problems.end(),
                          [](const LatexProblem& problem) { return problem.severity == ProblemSeverity::Error; });
    std::vector<std::vector<std::string>> rows;
    for (const LatexProblem& problem : problems) {
        rows.push_back({SeverityText(problem.severity), std::filesystem::path(problem.path).filename().string(),
                        LineText(problem.line), problem.message});
    }
    m_problems = std::move(problems);
    m_list.SetRows(std::move(rows));
}

std::optional<int> ProblemsPane::Neighbour(Direction direction) const
{
    if (m_problems.empty())
        return std::nullopt;
    const int current = m_list.SelectedRow();
    if (direction == Direction::Next)
        return (current + 1) % Count();
    return current <= 0 ? Count() - 1 : current - 1;
}

std::string ProblemsPane::CountText() const
{
    const auto errors = static_cast<int>(std::count_if(m_problems.begin(), m_problems.end(), [](const LatexProblem& problem) {
        return problem.severity == ProblemSeverity::Error;
    }));
    const int warnings = Count() - errors;
    if (warnings == 0)
        return errors == 0 ? std::string() : Counted(errors, "error");
    if (errors == 0)
        return Counted(warnings, "warning");
    return Counted(errors, "error") + ", " + Counted(warnings, "warning");
}
